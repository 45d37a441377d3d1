#include "app/UAbout.h"

#include "app/ProgramInfo.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor {

namespace {

QLabel *MakeLabel(const QString &name, const QString &text)
{
    auto *label = new QLabel(text);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

TfmAbout::TfmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fmAbout"));
    setWindowTitle(QStringLiteral("О программе"));
    const ProgramInfo &info = ThisProgram();

    auto *icon = new QLabel;
    icon->setObjectName(QStringLiteral("imgIcon"));
    icon->setPixmap(QIcon(QStringLiteral(":/icons/vantor5.svg")).pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);

    QLabel *product = MakeLabel(QStringLiteral("lblProductName"), info.productName);
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    product->setFont(big);

    auto *text = new QVBoxLayout;
    text->addWidget(MakeLabel(QStringLiteral("lblDescription"), info.fileDescription));
    text->addWidget(product);
    text->addWidget(MakeLabel(QStringLiteral("lblVersion"), QStringLiteral("Версия ") + VersionWithDate()));
    text->addSpacing(8);
    text->addWidget(MakeLabel(QStringLiteral("lblCopyright"), info.legalCopyright));
    QLabel *comments = MakeLabel(QStringLiteral("lblComments"), info.comments);
    comments->setForegroundRole(QPalette::PlaceholderText);
    text->addWidget(comments);
    text->addStretch();

    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(text, 1);

    auto *buttons = new QDialogButtonBox;
    QPushButton *ok = buttons->addButton(QStringLiteral("ОК"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setMinimumWidth(440);
}

} // namespace vantor
