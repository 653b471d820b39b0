#pragma once

#include "vexaprojectfilewidget_global.h"

#include <QDialog>
#include <memory>

namespace vexa {
namespace projectfilemgr {

// Splash page shown while the application starts: icon, name, version, a
// waiting text and a bar that fills at a fixed pace. Exported for the tests.
class VEXAPROJECTFILEWIDGET_EXPORT LoadingPage : public QDialog
{
    Q_OBJECT
public:
    explicit LoadingPage(QWidget* parent = nullptr);
    ~LoadingPage() override;

    void showLoadingPage();
    void refRect(QRect& rect);
    void switchLanguage(const QString& language);

Q_SIGNALS:
    void initFinish();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    class Impl;
    std::unique_ptr<Impl> d;
};

} // namespace projectfilemgr
} // namespace vexa
