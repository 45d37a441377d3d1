// vantor5-examples: writes the example configuration documents with our own writer:
// crossroad.json (indented), crossroad.compact.json and crossroad.vt5.
//
//   vantor5-examples [FOLDER]    (default: the repository's examples/ folder)
//
// The block models are the shipped plug-ins beside this program. The documents carry
// a fixed date, so running it again gives the same bytes.
#include "ExampleConfigs.h"

#include "app/ConfigFile.h"
#include "app/FileIo.h"
#include "controller/ConfigDocument.h"
#include "controller/VantorConfig.h"
#include "models/VantorModels.h"
#include "json/JsonText.h"

#include <QCoreApplication>
#include <QDir>

#include <iostream>

int main(int argc, char *argv[])
{
    using namespace vantor;
    QCoreApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(VANTOR_EXAMPLES_DIR);
    LoadModelPlugins(QCoreApplication::applicationDirPath(),
                     [](const PluginLoadError &error) { std::cerr << error.Text().toStdString() << "\n"; });
    try {
        TVantorConfig config;
        BuildCrossroad(config);
        const json::Json root = GetConfigJson(config, kExampleDate);
        QString error;
        if (!QDir().mkpath(folder) ||
            !WriteFileAtomically(QDir(folder).filePath(QStringLiteral("crossroad.json")),
                                 json::RenderIndented(root), &error) ||
            !WriteFileAtomically(QDir(folder).filePath(QStringLiteral("crossroad.compact.json")),
                                 json::RenderCompact(root), &error) ||
            !WriteConfigFile(QDir(folder).filePath(QStringLiteral("crossroad.vt5")), root, &error)) {
            std::cerr << "vantor5-examples: " << error.toStdString() << "\n";
            return 1;
        }
    } catch (const std::exception &error) {
        std::cerr << "vantor5-examples: " << error.what() << "\n";
        return 1;
    }
    std::cout << "examples written to " << folder.toStdString() << "\n";
    return 0;
}
