// Block-model plug-ins: reading a plug-in, the start-up scan with its failures and
// fallback folder, the registry order and the editor's block menu.
#include "models/VantorModels.h"
#include "models/BlockModelMenu.h"

#include "TestPaths.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <map>
#include <set>

using namespace vantor;

namespace {

QString VdlDir(const char *folder)
{
    return QDir(QStringLiteral(VANTOR_TEST_VDL_DIR)).filePath(QString::fromUtf8(folder));
}

std::vector<std::string> Descriptions()
{
    std::vector<std::string> out;
    for (const auto &model : VantorModels())
        out.push_back(model->Description);
    return out;
}

class VantorModelsTest : public ::testing::Test {
protected:
    void SetUp() override { ClearVantorModels(); }
    void TearDown() override { ClearVantorModels(); }

    int Load(const QString &folder)
    {
        return LoadModelPlugins(folder, [this](const PluginLoadError &error) {
            errors_[error.fileName.toStdString()] = error.reason.toStdString();
            texts_.push_back(error.Text().toStdString());
        });
    }

    std::map<std::string, std::string> errors_;
    std::vector<std::string> texts_;
};

TEST_F(VantorModelsTest, ShippedPluginsLoadFromTheProgramFolder)
{
    EXPECT_EQ(Load(test::BinDir()), 5);
    EXPECT_TRUE(errors_.empty());
    // Family 3 (power blocks) before family 2, descriptions in alphabetical order.
    EXPECT_EQ(Descriptions(), (std::vector<std::string>{"Силовой блок СБ-12", "Силовой блок СБ-24",
                                                        "Универсальный силовой блок СБУ-32 на 32 выхода",
                                                        "Блок ввода-вывода БВВ-8", "Блок детекторов БД-16"}));

    // A document without a model id refers to model 16.
    const TVantorModel *standard = FindModelById(16);
    ASSERT_NE(standard, nullptr);
    EXPECT_EQ(standard->FamilyName, "Силовые блоки");
    ASSERT_EQ(standard->OutputCount(), 24);
    EXPECT_EQ(standard->Outputs[0]->Name, "1к");
    EXPECT_EQ(standard->Outputs[1]->Name, "1ж");
    EXPECT_EQ(standard->Outputs[23]->Name, "8з");
    EXPECT_EQ(standard->InputCount(), 8);
    EXPECT_TRUE(standard->FileName.endsWith(QStringLiteral("/sb24.vdl")));
    EXPECT_EQ(FindModelById(12345), nullptr);
}

TEST_F(VantorModelsTest, ShippedPluginsExportTheInterfaceAndNothingElse)
{
    const QString nm = QStandardPaths::findExecutable(QStringLiteral("nm"));
    if (nm.isEmpty())
        GTEST_SKIP() << "nm is not installed";
    const std::set<std::string> interface = {"GetVDLVersion",
                                             "GetLastClientVersion",
                                             "GetInternalID",
                                             "GetRevision",
                                             "GetDescriptionA",
                                             "GetFamily",
                                             "GetFamilyNameA",
                                             "GetFlags",
                                             "GetMaxRAMSize",
                                             "GetMaxDayplanItemsCount",
                                             "GetMaxYearplanItemsCount",
                                             "GetMaxWorkCyclesCount",
                                             "GetOutputDescriptionA",
                                             "GetOutputMask",
                                             "GetOutputCtlOptions",
                                             "GetOutputCount",
                                             "GetInputCount"};
    for (const char *file : {"sb12.vdl", "sb24.vdl", "sbu32.vdl", "bd16.vdl", "bvv8.vdl"}) {
        QProcess process;
        process.start(nm, {QStringLiteral("-D"), QStringLiteral("--defined-only"),
                           QStringLiteral("--format=just-symbols"),
                           QDir(test::BinDir()).filePath(QString::fromUtf8(file))});
        ASSERT_TRUE(process.waitForFinished(60000));
        ASSERT_EQ(process.exitCode(), 0) << file;
        std::set<std::string> symbols;
        for (const QByteArray &line : process.readAllStandardOutput().split('\n'))
            if (!line.trimmed().isEmpty())
                symbols.insert(line.trimmed().toStdString());
        EXPECT_EQ(symbols, interface) << file;
    }
}

TEST_F(VantorModelsTest, ReadsEveryValueOfAPluginAndUnloadsIt)
{
    const QString file = VdlDir("menu/alpha.vdl");
    const auto model = TVantorModel::FromFile(file);
    EXPECT_EQ(model->FileName, file);
    EXPECT_EQ(model->InternalId, 102);
    EXPECT_EQ(model->Revision, 7);
    EXPECT_EQ(model->Description, "альфа блок на 2 выхода");
    EXPECT_EQ(model->DisplayName, model->Description);
    EXPECT_EQ(model->DescriptionCopy, model->Description);
    EXPECT_EQ(model->Family, 3);
    EXPECT_EQ(model->FamilyName, "Тестовые блоки 3");
    EXPECT_EQ(model->MaxRAMSize, 8192u);
    EXPECT_EQ(model->MaxDayplanItems, 16u);
    EXPECT_EQ(model->MaxYearplanItems, 40u);
    EXPECT_EQ(model->MaxWorkCycles, 8u);
    ASSERT_EQ(model->OutputCount(), 2);
    const TVantorModelOutput &second = *model->Outputs[1];
    EXPECT_EQ(second.Index, 1);
    EXPECT_EQ(second.Model, model.get());
    EXPECT_EQ(second.Name, "1ж");
    EXPECT_EQ(second.Caption, "1ж");
    EXPECT_EQ(second.Mask, 0x02u);
    EXPECT_EQ(second.DayBright, -1);
    EXPECT_EQ(second.NightBright, -1);
    EXPECT_EQ(second.Power, 0);
    ASSERT_EQ(model->InputCount(), 1);
    EXPECT_EQ(model->Inputs[0]->Model, model.get());

    // Strings were copied: the library is no longer mapped, yet they still read.
    EXPECT_EQ(dlopen(file.toUtf8().constData(), RTLD_NOW | RTLD_NOLOAD), nullptr);
    EXPECT_EQ(model->Outputs[0]->Name, "1к");
}

TEST_F(VantorModelsTest, EveryFailureHasItsTextAndUnloadsTheLibrary)
{
    const std::map<std::string, std::string> expected = {
        {"outdated.vdl", "Библиотека устарела и не поддерживается в данной версии."},
        {"version1.vdl", "Библиотека устарела и не поддерживается в данной версии."},
        {"noversion.vdl", "Библиотека устарела и не поддерживается в данной версии."},
        {"toonew.vdl", "Библиотека требует более новую версию конфигуратора."},
        {"noram.vdl", "Функция GetMaxRAMSize не найдена."},
        {"noinputs.vdl", "Функция GetInputCount не найдена."},
        {"maskerror.vdl", "Функция GetOutputMask вернула ошибку 5."},
    };
    for (const auto &[file, text] : expected) {
        const QString path = VdlDir("bad") + QStringLiteral("/") + QString::fromStdString(file);
        try {
            TVantorModel::FromFile(path);
            ADD_FAILURE() << file << " was accepted";
        } catch (const EVantorModelException &error) {
            EXPECT_EQ(error.what(), text) << file;
        }
        EXPECT_EQ(dlopen(path.toUtf8().constData(), RTLD_NOW | RTLD_NOLOAD), nullptr)
            << file << " still loaded";
    }

    // At start-up each failing plug-in is reported once and skipped; the text file is
    // skipped silently; with one good plug-in loaded the vdl/ subfolder stays unused.
    EXPECT_EQ(Load(VdlDir("bad")), 1);
    EXPECT_EQ(errors_, expected);
    EXPECT_EQ(Descriptions(), std::vector<std::string>{"Бета блок"});
    EXPECT_NE(std::find(texts_.begin(), texts_.end(),
                        "Ошибка при загрузке библиотеки toonew.vdl.\r\n"
                        "Библиотека требует более новую версию конфигуратора."),
              texts_.end());
}

TEST_F(VantorModelsTest, SubfolderIsUsedOnlyWhenTheFolderLoadsNothing)
{
    EXPECT_EQ(Load(VdlDir("fallback")), 2);
    EXPECT_TRUE(errors_.empty());
    EXPECT_EQ(Descriptions(), (std::vector<std::string>{"альфа блок на 2 выхода", "Гамма"}));

    ClearVantorModels();
    EXPECT_EQ(Load(VdlDir("failing")), 1);
    EXPECT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_.count("failing_top.vdl"), 1u);
    EXPECT_EQ(Descriptions(), std::vector<std::string>{"Гамма"});

    ClearVantorModels();
    EXPECT_EQ(Load(VdlDir("no-such-folder")), 0);
    EXPECT_TRUE(VantorModels().empty());
}

TEST_F(VantorModelsTest, MenuGroupsConsecutiveModelsOfAFamily)
{
    ASSERT_EQ(Load(VdlDir("menu")), 3);
    // Family 3 first; "альфа" before "Бета" because the order ignores case.
    ASSERT_EQ(Descriptions(), (std::vector<std::string>{"альфа блок на 2 выхода", "Бета блок", "Гамма"}));

    const auto menu = BuildBlockModelMenu(VantorModels());
    ASSERT_EQ(menu.size(), 2u);
    ASSERT_TRUE(menu[0].IsSubmenu());
    EXPECT_EQ(menu[0].caption, "Тестовые блоки 3");
    EXPECT_EQ(menu[0].tag, 255 - 3);
    ASSERT_EQ(menu[0].children.size(), 2u);
    EXPECT_EQ(menu[0].children[0].caption, "альфа блок на 2 выхода"); // mentions "вых" already
    EXPECT_EQ(menu[0].children[0].tag, 0);
    EXPECT_EQ(menu[0].children[1].caption, "Бета блок (3 вых.)");
    EXPECT_EQ(menu[0].children[1].tag, -1);
    EXPECT_EQ(menu[0].children[1].modelIndex, 1);
    EXPECT_FALSE(menu[1].IsSubmenu());
    EXPECT_EQ(menu[1].caption, "Гамма"); // alone in its family: plain description
    EXPECT_EQ(menu[1].tag, -2);
    EXPECT_EQ(menu[1].modelIndex, 2);

    EXPECT_EQ(ModelIndexFromTag(-2, VantorModels()), 2);
    EXPECT_EQ(ModelIndexFromTag(-3, VantorModels()), -1);
    EXPECT_EQ(ModelIndexFromTag(252, VantorModels()), -1);
}

TEST_F(VantorModelsTest, ModelsOfOneFamilySeparatedByAnotherFormTwoEntries)
{
    // Registration order is kept as it is; only consecutive models are grouped.
    auto add = [](int family, const char *description, int outputs) {
        auto model = std::make_unique<TVantorModel>();
        model->Family = static_cast<std::uint8_t>(family);
        model->FamilyName = "Семейство " + std::to_string(family);
        model->Description = description;
        for (int i = 0; i < outputs; ++i)
            model->AddOutput(std::to_string(i + 1));
        RegisterModel(std::move(model));
    };
    add(5, "A", 1);
    add(4, "B", 2);
    add(4, "C", 3);
    add(5, "D", 4);
    const auto menu = BuildBlockModelMenu(VantorModels());
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0].caption, "A");
    EXPECT_EQ(menu[1].caption, "Семейство 4");
    EXPECT_EQ(menu[1].tag, 251);
    EXPECT_EQ(menu[1].children[1].caption, "C (3 вых.)");
    EXPECT_EQ(menu[1].children[1].tag, -2);
    EXPECT_EQ(menu[2].caption, "D");
    EXPECT_EQ(menu[2].tag, -3);
    EXPECT_TRUE(BuildBlockModelMenu({}).empty());
}

TEST_F(VantorModelsTest, CloneIsAnIndependentCopyWithTheSettings)
{
    ASSERT_EQ(Load(VdlDir("menu")), 3);
    TVantorModel &original = *VantorModels()[2];
    original.Outputs[3]->RedControl = true;
    original.Outputs[3]->IShort = 2.5;
    original.Outputs[3]->DayBright = 80;

    const auto copy = original.Clone();
    EXPECT_EQ(copy->InternalId, original.InternalId);
    EXPECT_EQ(copy->Description, original.Description);
    ASSERT_EQ(copy->OutputCount(), original.OutputCount());
    EXPECT_EQ(copy->InputCount(), original.InputCount());
    const TVantorModelOutput &out = *copy->Outputs[3];
    EXPECT_EQ(out.Model, copy.get());
    EXPECT_EQ(out.Index, 3);
    EXPECT_EQ(out.Name, "2к");
    EXPECT_TRUE(out.RedControl);
    EXPECT_EQ(out.IShort, 2.5);
    EXPECT_EQ(out.DayBright, 80);

    copy->Outputs[3]->IShort = 7;
    EXPECT_EQ(original.Outputs[3]->IShort, 2.5);
}

} // namespace
