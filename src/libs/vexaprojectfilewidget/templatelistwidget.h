#pragma once

#include <QListWidget>
#include <memory>

namespace vexa {
namespace projectfilemgr {

// The three scene-template tiles in a row that never scrolls.
class TemplateListWidget : public QListWidget
{
    Q_OBJECT
public:
    explicit TemplateListWidget(QWidget* parent = nullptr);
    ~TemplateListWidget() override;

    void addTemplateItem(int type);
    // The captions, and each tile's name for a screen reader.
    void translateLanguage();

Q_SIGNALS:
    // Enter or Space on a tile: what a double-click does.
    void keyActivated(QListWidgetItem* item);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    class Impl;
    std::unique_ptr<Impl> d;
};

} // namespace projectfilemgr
} // namespace vexa
