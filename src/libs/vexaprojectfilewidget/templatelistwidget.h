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
    void translateLanguage();

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    class Impl;
    std::unique_ptr<Impl> d;
};

} // namespace projectfilemgr
} // namespace vexa
