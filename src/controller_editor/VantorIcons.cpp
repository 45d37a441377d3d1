#include "controller_editor/VantorIcons.h"

#include <QHash>
#include <QString>

namespace vantor::editor {
namespace {

// Icons are loaded once per picture; QIcon renders the SVG at every size asked.
QIcon Load(const char *name)
{
    static QHash<QString, QIcon> cache;
    const QString key = QString::fromLatin1(name);
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, QIcon(QStringLiteral(":/vantor/") + key + QStringLiteral(".svg")));
    return *it;
}

} // namespace

QIcon GroupImage(int image)
{
    switch (image) {
    case 1: return Load("delete");
    case 2: return Load("group-transport");
    case 3: return Load("group-walkman");
    case 5: return Load("group-arrow");
    case 6: return Load("group-tram");
    case 8:
    case 9: return Load("group-reverse");
    case 10: return Load("group-lamp");
    case 11: return Load("group-iss");
    case 12: return Load("group-wait");
    case 13: return Load("group-go");
    case 14: return Load("triggers");
    case 17: return Load("output");
    default: return {};
    }
}

QIcon LampIcon(int lampPos)
{
    static const char *const kLamps[] = {"lamp-red",       "lamp-yellow",        "lamp-green",
                                         "lamp-tram-left", "lamp-tram-straight", "lamp-tram-right",
                                         "lamp-tram-lower"};
    return lampPos >= 0 && lampPos < 7 ? Load(kLamps[lampPos]) : QIcon();
}

QIcon SigGroupTypeIcon(int sigGroupType)
{
    static const int kImages[] = {2, 3, 5, 6, 8, -1, -1, -1, 10};
    return sigGroupType >= 0 && sigGroupType < 9 ? GroupImage(kImages[sigGroupType]) : QIcon();
}

QIcon HeadIcon()
{
    return Load("head");
}

QIcon BlockIcon()
{
    return Load("block");
}

QIcon DirectionIcon()
{
    return Load("direction");
}

QIcon RedCheckIcon()
{
    return Load("check-red");
}

QIcon GreenCheckIcon()
{
    return Load("check-green");
}

} // namespace vantor::editor
