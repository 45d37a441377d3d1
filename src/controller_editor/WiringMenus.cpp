#include "controller_editor/WiringMenus.h"

#include "app/widgets/ColumnMenu.h"
#include "controller/VantorConfig.h"
#include "controller_editor/VantorIcons.h"
#include "models/VantorModels.h"

#include <QMenu>

namespace vantor {

QString BlockCaption(const TController &block)
{
    return QStringLiteral("Блок №%1: \"%2\"").arg(block.ID).arg(QString::fromStdString(block.Name));
}

QString LampLetter(int lampPos)
{
    static const char *const kLetters[] = {"к", "ж", "з", "л", "в", "п", "н"};
    return lampPos >= 0 && lampPos < kLampPositionCount ? QString::fromUtf8(kLetters[lampPos]) : QString();
}

QMenu *CreateLampMenu(TVantorConfig &config, TSemaphoreObject &head, int lampPos,
                      std::function<void()> changed, QWidget *parent)
{
    auto *menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("pmLamp"));
    TSemaphoreObject *target = &head;
    QAction *none = menu->addAction(QStringLiteral("[Нет]"));
    QObject::connect(none, &QAction::triggered, menu, [&config, target, lampPos, changed] {
        config.UnwireLamp(target, lampPos);
        changed();
    });
    for (TController *block : config.Blocks) {
        QMenu *sub = menu->addMenu(editor::BlockIcon(), BlockCaption(*block));
        QList<QAction *> items;
        for (TControllerOutput *output : block->Outputs) {
            auto *item =
                new QAction(editor::GroupImage(17), QString::fromStdString(output->ModelOutput->Name), sub);
            item->setCheckable(true);
            item->setChecked(output->Owner != nullptr);
            QObject::connect(item, &QAction::triggered, menu, [&config, target, lampPos, output, changed] {
                config.Wire(target, lampPos, output);
                changed();
            });
            items.append(item);
        }
        widgets::AddActionsInColumns(*sub, items, 8);
    }
    return menu;
}

QMenu *CreateOutputMenu(TVantorConfig &config, TControllerOutput &output, std::function<void()> changed,
                        QWidget *parent)
{
    auto *menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("pmOutput"));
    TControllerOutput *target = &output;
    QAction *none = menu->addAction(QStringLiteral("[Нет]"));
    QObject::connect(none, &QAction::triggered, menu, [&config, target, changed] {
        config.UnwireOutput(target);
        changed();
    });
    for (TTrendGroup *group : config.Groups) {
        QMenu *groupMenu =
            menu->addMenu(editor::GroupImage(group->KindImage()),
                          QString::fromStdString(group->DefaultName() + " - " + group->KindName()));
        for (int h = 0; h < group->HeadCount(); ++h) {
            TSemaphoreObject *head = group->Heads.At(h);
            QMenu *headMenu =
                groupMenu->addMenu(editor::HeadIcon(), QStringLiteral("Свет. объект %1").arg(h + 1));
            for (const TSemaphoreOut *lamp : head->Lamps) {
                const int lampPos = lamp->LampPos;
                QAction *item = headMenu->addAction(LampLetter(lampPos));
                if (lampPos <= kLampGreen)
                    item->setIcon(editor::LampIcon(lampPos));
                item->setCheckable(true);
                item->setChecked(head->Output(lampPos) != nullptr);
                QObject::connect(item, &QAction::triggered, menu, [&config, head, lampPos, target, changed] {
                    config.Wire(head, lampPos, target);
                    changed();
                });
            }
        }
    }
    return menu;
}

} // namespace vantor
