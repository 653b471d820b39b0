#pragma once

// The host's own file dialog for Add Media: the labels and the filter form of
// the start page's dialogs, in the user's language, and a first size at
// which the places list and every column can be read.

#include <QFileDialog>

namespace vexademo {

class MediaDialog : public QFileDialog
{
public:
    explicit MediaDialog(const QString& folder, QWidget* parent = nullptr);

    static const char* const kPatterns;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fitColumns();
};

} // namespace vexademo
