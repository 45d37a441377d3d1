// "Прочитать" and "Записать" of the device windows, with a stand-in for the programmer
// window.
#include "app/DeviceButtons.h"
#include "app/UserDialogs.h"
#include "controller_editor/UConfVantor.h"
#include "devices/navet/UConfNavet.h"
#include "devices/orsin/UConfOrsin.h"
#include "devices/pelmar/UConfPelmar.h"
#include "devices/rudex/UConfRudex.h"

#include "WindowTestSupport.h"

#include <QLineEdit>
#include <QPushButton>

#include <memory>

using namespace vantor;
using namespace vantor::test;

namespace {

struct ProgrammerCall {
    DeviceTag tag;
    ProgrammerMode mode;
    QByteArray input;
};

// A programmer window that records its calls and answers reads with `answer`.
class FakeProgrammer {
public:
    FakeProgrammer()
    {
        SetProgrammerRunner([this](QWidget *, DeviceTag tag, ProgrammerMode mode, const QByteArray &input) {
            calls.push_back({tag, mode, input});
            return answer;
        });
    }
    ~FakeProgrammer() { SetProgrammerRunner({}); }

    std::vector<ProgrammerCall> calls;
    QByteArray answer;
};

std::vector<std::unique_ptr<TfmBaseMDI>> AllWindows()
{
    std::vector<std::unique_ptr<TfmBaseMDI>> windows;
    windows.push_back(std::make_unique<TfmConfRudex>());
    windows.push_back(std::make_unique<TfmConfNavet>());
    windows.push_back(std::make_unique<TfmConfOrsin>());
    windows.push_back(std::make_unique<TfmConfPelmar>());
    windows.push_back(std::make_unique<TfmConfVantor>());
    return windows;
}

TEST(DeviceButtons, TheButtonsAreReadyToUse)
{
    for (const auto &window : AllWindows()) {
        for (const char *name : {"btnRead", "btnWrite"}) {
            auto *button = Find<QPushButton>(*window, name);
            EXPECT_TRUE(button->isEnabled()) << name;
        }
        EXPECT_EQ(Find<QPushButton>(*window, "btnRead")->text(), QStringLiteral("Прочитать"));
        EXPECT_EQ(Find<QPushButton>(*window, "btnWrite")->text(), QStringLiteral("Записать"));
    }
}

TEST(DeviceButtons, WriteSendsTheCompactDocumentForTheWindowsDevice)
{
    FakeProgrammer programmer;
    const DeviceTag tags[] = {kRudexTag, kNavetTag, kOrsinTag, kPelmarTag, kVantorTag};
    auto windows = AllWindows();
    for (std::size_t i = 0; i < windows.size(); ++i) {
        auto *button = Find<QPushButton>(*windows[i], "btnWrite");
        button->click();
        ASSERT_EQ(programmer.calls.size(), i + 1);
        EXPECT_EQ(programmer.calls[i].tag, tags[i]);
        EXPECT_EQ(programmer.calls[i].mode, ProgrammerMode::WriteConfig);
        EXPECT_EQ(programmer.calls[i].input.toStdString(), json::RenderCompact(*windows[i]->GetConfigJson()));
    }
}

TEST(DeviceButtons, ReadLoadsWhatTheDeviceGaveAndReportsARefusal)
{
    FakeProgrammer programmer;
    ScriptedDialogs dialogs;
    TfmConfRudex window;
    auto *read = Find<QPushButton>(window, "btnRead");

    programmer.answer = R"({"whmeter":{"en":true,"name":"С устройства","id":5}})";
    read->click();
    ASSERT_EQ(programmer.calls.size(), 1u);
    EXPECT_EQ(programmer.calls[0].mode, ProgrammerMode::ReadConfig);
    EXPECT_EQ(programmer.calls[0].tag, kRudexTag);
    EXPECT_EQ(Find<QLineEdit>(window, "edName")->text(), QStringLiteral("С устройства"));
    EXPECT_TRUE(dialogs.Shown().empty());

    // Nothing read, or no JSON object: nothing changes.
    for (const char *answer : {"", "[1,2]", "не JSON"}) {
        programmer.answer = answer;
        read->click();
        EXPECT_EQ(Find<QLineEdit>(window, "edName")->text(), QStringLiteral("С устройства")) << answer;
    }
    EXPECT_TRUE(dialogs.Shown().empty());

    programmer.answer = R"({"navet":{}})";
    read->click();
    EXPECT_EQ(dialogs.Texts(ScriptedDialogs::Kind::Error),
              QStringList{QStringLiteral("Некорректная конфигурация")});
}

TEST(DeviceButtons, AVantorWindowTakesTheReadDocumentAndItsName)
{
    FakeProgrammer programmer;
    ScriptedDialogs dialogs;
    TfmConfVantor window;
    programmer.answer = R"({"vantor5":{"n":"Из контроллера"}})";
    Find<QPushButton>(window, "btnRead")->click();
    ASSERT_EQ(programmer.calls.size(), 1u);
    EXPECT_EQ(programmer.calls[0].tag, kVantorTag);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Из контроллера"));
    EXPECT_TRUE(dialogs.Shown().empty());
}

} // namespace
