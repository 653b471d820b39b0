#pragma once

#include <QWidget>
#include <memory>

namespace vexa {
namespace projectfilemgr {

// One scene-template tile: a picture area (styled by the template's name) and a caption.
class TemplateListItem : public QWidget
{
    Q_OBJECT
public:
    explicit TemplateListItem(int type, QWidget* parent = nullptr);
    ~TemplateListItem() override;

    int templateType() const;
    void translateLanguage();
    QString caption() const;

private:
    class Impl;
    std::unique_ptr<Impl> d;
};

} // namespace projectfilemgr
} // namespace vexa
