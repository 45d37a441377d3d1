// The configurator's binder for libvantor_model.so.
#include "models/ModelLibrary.h"

#include "TestPaths.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using vantor::ModelLibrary;

namespace {

QString ModelPath()
{
    return vantor::test::BinDir() + QStringLiteral("/libvantor_model.so");
}

constexpr std::string_view kConfig = R"({"ver":1,"promtacts":[],"triggers":[],"dirs":{"at":[{}]},)"
                                     R"("sig_group_types":[],"sig_groups":[],"sos":[{"dirs":[1]}]})";

TEST(ModelLibrary, BindsTheLibraryAndCallsIt)
{
    ModelLibrary library(ModelPath());
    ASSERT_TRUE(library.Load()) << library.ErrorString().toStdString();
    EXPECT_TRUE(library.IsLoaded());
    EXPECT_TRUE(library.ErrorString().isEmpty());
    EXPECT_TRUE(library.Load()); // a second Load is harmless
    EXPECT_EQ(library.Close(), VANTOR_MODEL_NO_MODEL);
    EXPECT_EQ(library.Open(kConfig), VANTOR_MODEL_OK); // first to last character
    EXPECT_EQ(library.Close(), VANTOR_MODEL_OK);
    EXPECT_EQ(library.Open(kConfig.data(), kConfig.data() + kConfig.size()), VANTOR_MODEL_OK);
    EXPECT_EQ(library.Close(), VANTOR_MODEL_OK);
    EXPECT_EQ(library.Open(std::string_view()), VANTOR_MODEL_BAD_VERSION);
    EXPECT_EQ(library.Open(std::string_view(R"({"ver":1})")), VANTOR_MODEL_NO_PROMTACTS);
    std::uint8_t phase = 0, state = 0;
    EXPECT_EQ(library.Next(0, 0, nullptr, &phase, &state),
              VANTOR_MODEL_NO_PROMTACTS); // failed load blocks stepping
    ASSERT_EQ(library.Open(kConfig), VANTOR_MODEL_OK);
    EXPECT_EQ(library.Next(0, 0, nullptr, &phase, &state), VANTOR_MODEL_OK);
    EXPECT_EQ(phase, 14);  // the object has no entry point: it idles
    EXPECT_EQ(state, 253); // through all-red
    std::uint8_t dirs = 0, perObject[5] = {};
    EXPECT_EQ(library.NextAll(0, nullptr, &perObject[0], &perObject[1], &perObject[2], &perObject[3],
                              &perObject[4], &dirs, nullptr),
              VANTOR_MODEL_OK);
    EXPECT_EQ(perObject[0], 14);
    EXPECT_EQ(library.Close(), VANTOR_MODEL_OK);
}

TEST(ModelLibrary, FileIoStillWorksWithTheLibraryLoaded)
{
    ModelLibrary library(ModelPath());
    ASSERT_TRUE(library.Load());
    ASSERT_EQ(library.Open(kConfig), VANTOR_MODEL_OK);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("probe.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write("probe"), 5);
    file.close();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("probe"));
    file.close();
    EXPECT_EQ(library.Close(), VANTOR_MODEL_OK);
}

TEST(ModelLibrary, ExplainsWhyItCannotBind)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString notALibrary = dir.filePath(QStringLiteral("libvantor_model.so"));
    QFile file(notALibrary);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not an ELF file");
    file.close();
    const QString missing = dir.filePath(QStringLiteral("nowhere/libvantor_model.so"));
    const struct {
        QString path;
        QString message;
    } cases[] = {
        {missing, QStringLiteral("Не найдена библиотека модели контроллера %1.").arg(missing)},
        {notALibrary,
         QStringLiteral("Не удалось загрузить библиотеку модели контроллера %1: ").arg(notALibrary)},
        {QStringLiteral(VANTOR_FAKE_MODEL_OPEN_ONLY),
         QStringLiteral("В библиотеке модели контроллера %1 нет функции «next».")
             .arg(VANTOR_FAKE_MODEL_OPEN_ONLY)},
    };
    for (const auto &c : cases) {
        ModelLibrary library(c.path);
        EXPECT_FALSE(library.Load()) << c.path.toStdString();
        EXPECT_FALSE(library.IsLoaded());
        EXPECT_TRUE(library.ErrorString().startsWith(c.message))
            << library.ErrorString().toStdString() << "\n  expected: " << c.message.toStdString();
        // Unbound calls answer "no model" and touch nothing.
        EXPECT_EQ(library.Open(kConfig), VANTOR_MODEL_NO_MODEL);
        std::uint8_t phase = 0xEE;
        EXPECT_EQ(library.Next(0, 0, nullptr, &phase, nullptr), VANTOR_MODEL_NO_MODEL);
        EXPECT_EQ(phase, 0xEE);
        EXPECT_EQ(library.NextAll(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
                  VANTOR_MODEL_NO_MODEL);
        EXPECT_EQ(library.Close(), VANTOR_MODEL_NO_MODEL);
    }
}

TEST(ModelLibrary, StatusTexts)
{
    EXPECT_EQ(ModelLibrary::StatusText(VANTOR_MODEL_NO_TRIGGERS),
              QStringLiteral("нет списка триггеров «triggers»"));
    EXPECT_EQ(ModelLibrary::StatusText(-42), QStringLiteral("неизвестный код состояния модели -42"));
    QStringList texts;
    for (int status = VANTOR_MODEL_BAD_SIGNAL_OBJECT; status <= VANTOR_MODEL_OK; ++status)
        texts << ModelLibrary::StatusText(status);
    texts.removeDuplicates();
    EXPECT_EQ(texts.size(), 12); // every code has its own text
}

} // namespace
