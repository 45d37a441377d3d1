// TProgSession: the operations. Configuration read, merge, write and verify; Sollo-4
// sound files before a write and after a read; firmware update.
#include "programming/ConfigImage.h"
#include "programming/ProgSession.h"

#include "app/FileIo.h"
#include "link/Checksums.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace vantor::programming {
namespace {

constexpr int kSollo = 5;
constexpr std::size_t kMaxSoundFiles = 256; // files are addressed by one byte

// The file name of a path stored in a document, whichever system wrote it: devices
// are often programmed from Windows, so C:\Звуки\зелёный.wav suggests "зелёный.wav".
QString StoredFileName(const QString &path)
{
    const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(slash + 1);
}

} // namespace

// ---- configuration ----

void TProgSession::ReadConfiguration()
{
    step_ = 0;
    work_.clear();
    image_.clear();
    auto read = std::make_unique<TReadTask>(QStringLiteral("Чтение конфигурации"), collector_.PackSize());
    read->OnProgress = Progress();
    collector_.AddTask(std::move(read), [this](TProgTask &t, std::uint8_t state, QString &message) {
        auto &task = static_cast<TReadTask &>(t);
        if (state == kTaskDone) {
            image_ = task.Image();
            Schedule(kJobProcessRead);
            message = QStringLiteral("Конфигурация успешно прочитана");
            return;
        }
        if (state != kTaskFailed)
            return;
        const bool writing = mode_ == kModeWrite || mode_ == kModeWriteFile;
        if (task.SizeRead() && task.StoredSize() == TReadTask::kNoConfiguration) {
            if (writing) {
                message = QStringLiteral("Конфигурация не записана.");
                Schedule(kJobContinueWrite); // nothing to merge with
            } else {
                Finish(false, message);
            }
            return;
        }
        if (!task.SizeRead() || task.StoredSize() < TReadTask::kSizeLimit) {
            message = QStringLiteral("Не удалось прочитать файл. ") + message;
            if (writing) {
                Schedule(kJobWriteAnyway);
                return;
            }
        }
        Finish(false, message);
    });
}

void TProgSession::ProcessRead()
{
    if (!ImageCrcMatches(image_)) {
        Status(QStringLiteral("Ошибка проверки CRC"));
        if (!AskUser(Question::ContinueAfterCrcError,
                     QStringLiteral("Контрольная сумма файла конфигурации не воспадает!\r\nПродолжить"))) {
            work_.clear();
            Finish(false, QStringLiteral("Ошибка проверки CRC"));
            return;
        }
    }
    const std::string text = ImageText(image_);
    switch (mode_) {
    case kModeRead:
        work_ = text;
        if (tag_ == kSollo)
            StartSoundRead();
        else
            Finish(true, QStringLiteral("Конфигурация успешно прочитана"));
        return;
    case kModeWrite:
        if (auto merged = MergeMember(text, input_, RootKeyForTag(tag_)))
            input_ = *merged;
        ContinueWrite();
        return;
    case kModeWriteFile:
        if (auto merged = MergeAllMembers(text, input_))
            input_ = *merged;
        WriteConfiguration();
        return;
    default: return;
    }
}

void TProgSession::ContinueWrite()
{
    if (tag_ == kSollo && mode_ == kModeWrite)
        PrepareSoundFiles();
    else
        WriteConfiguration();
}

void TProgSession::WriteConfiguration()
{
    auto image = std::make_shared<const Bytes>(BuildImage(input_));
    TProgTask *task = collector_.AddTask(
        std::make_unique<TWriteTask>(7, QStringLiteral("Запись конфигурации"), 0, image, 0,
                                     std::uint32_t(image->size()), collector_.PackSize()),
        [this](TProgTask &, std::uint8_t state, QString &message) {
            if (state == kTaskFailed) {
                message = QStringLiteral("Не удалось записать файл. ") + message;
                Finish(false, message);
            } else if (state == kTaskDone) {
                work_.clear();
                message = QStringLiteral("Конфигурация успещно записана. ") + message;
                collector_.AddTask(
                    std::make_unique<TVerifyConfTask>(), [this](TProgTask &, std::uint8_t s, QString &text) {
                        if (s == kTaskFailed) {
                            text = QStringLiteral("Не удалось верифицировать файл конфигурации. ") + text;
                            Schedule(kJobRepeatWrite);
                        } else if (s == kTaskDone) {
                            if (mode_ == kModeWrite)
                                text = QStringLiteral("Запись окончена");
                            Finish(true, text);
                        }
                    });
            }
        });
    task->OnProgress = Progress();
}

// ---- Sollo-4 sound files before a write ----

void TProgSession::PrepareSoundFiles()
{
    files_.clear();
    const auto paths = SoundPaths(input_);
    int missing = 0;
    for (const QString &given : paths.value_or(std::vector<QString>{})) {
        const QString path = ResolveSoundPath(given, options_.soundBaseDir);
        TFileObj file;
        file.path = path;
        QString why;
        const auto bytes = QFileInfo(path).isFile() ? ReadWholeFile(path, &why) : std::nullopt;
        if (!bytes) {
            ++missing;
            continue;
        }
        file.existsOnPc = true;
        file.contents.assign(bytes->begin(), bytes->end());
        file.size = std::uint32_t(file.contents.size());
        files_.push_back(std::move(file));
    }
    if (missing > 0) {
        ShowError(
            QStringLiteral("%1 файл(ов) не найдены по указанному пути!\r\nПроцесс записи будет прерван!")
                .arg(missing));
        Status(QStringLiteral("Ошибка при записи звуковых файлов!"));
        Finish(false, lastStatus_);
        return;
    }
    if (files_.empty()) {
        Status(QStringLiteral("Ошибка при записи звуковых файлов!"));
        Finish(false, lastStatus_);
        return;
    }
    if (files_.size() > kMaxSoundFiles) {
        const QString text =
            QStringLiteral("Слишком много звуковых файлов (%1): устройство различает не более %2.")
                .arg(files_.size())
                .arg(kMaxSoundFiles);
        ShowError(text);
        Status(text);
        Finish(false, text);
        return;
    }
    // First pass: which files does the device already hold?
    for (std::size_t i = 0; i < files_.size(); ++i) {
        const TFileObj &file = files_[i];
        collector_.AddTask(std::make_unique<TVerifyFileTask>(
                               std::uint8_t(i), file.size, Crc32(file.contents.data(), file.contents.size())),
                           [this, i](TProgTask &, std::uint8_t state, QString &message) {
                               if (state != kTaskFailed && state != kTaskDone)
                                   return;
                               files_[i].sameOnDevice = state == kTaskDone;
                               message =
                                   state == kTaskDone
                                       ? QStringLiteral("Верификация файла №%1 успешно пройдена").arg(i + 1)
                                       : QStringLiteral("Ошибка CRC файла №") + QString::number(i + 1);
                               if (i + 1 == files_.size())
                                   Schedule(kJobWriteSounds);
                           });
    }
}

void TProgSession::WriteSoundFiles()
{
    std::size_t first = files_.size();
    for (std::size_t i = 0; i < files_.size(); ++i)
        if (!files_[i].sameOnDevice) {
            first = i;
            break;
        }
    if (first == files_.size()) {
        WriteConfiguration();
        return;
    }
    std::uint32_t offset = 0;
    for (std::size_t i = 0; i < first; ++i)
        offset += SoundRecordSize(files_[i].size);
    auto area = std::make_shared<const Bytes>(BuildSoundArea(files_, first));
    TProgTask *write =
        collector_.AddTask(std::make_unique<TWriteTask>(10, QStringLiteral("Запись файлов"), offset, area, 0,
                                                        std::uint32_t(area->size()), collector_.PackSize()),
                           [this](TProgTask &, std::uint8_t state, QString &message) {
                               if (state == kTaskFailed) {
                                   collector_.Abort();
                                   message = QStringLiteral("Не удалось записать файлы. ") + message;
                                   Finish(false, message);
                               } else if (state == kTaskDone) {
                                   message = QStringLiteral("Файлы успешно записаны. ") + message;
                               }
                           });
    write->OnProgress = Progress();
    // Second pass over the files written.
    for (std::size_t i = first; i < files_.size(); ++i) {
        files_[i].sameOnDevice = false;
        const TFileObj &file = files_[i];
        collector_.AddTask(
            std::make_unique<TVerifyFileTask>(std::uint8_t(i), file.size,
                                              Crc32(file.contents.data(), file.contents.size())),
            [this, i, first](TProgTask &, std::uint8_t state, QString &) {
                if (state != kTaskFailed && state != kTaskDone)
                    return;
                files_[i].sameOnDevice = state == kTaskDone;
                if (i + 1 != files_.size())
                    return;
                QStringList differing;
                for (std::size_t k = first; k < files_.size(); ++k)
                    if (!files_[k].sameOnDevice)
                        differing << QString::number(k + 1);
                if (differing.isEmpty()) {
                    Schedule(kJobWriteConfig);
                    return;
                }
                const QString text =
                    QStringLiteral("Ошибка верификации файла(ов): \"%1\"! Конфигурация не записана!")
                        .arg(differing.join(QLatin1Char(',')));
                Status(text);
                ShowError(text);
                Finish(false, text);
            });
    }
}

// ---- Sollo-4 sound files after a read ----

void TProgSession::StartSoundRead()
{
    readingSounds_ = true;
    soundFailures_ = 0;
    files_.clear();
    step_ = 10;
    const auto paths = SoundPaths(work_);
    for (const QString &given : paths.value_or(std::vector<QString>{})) {
        TFileObj file;
        file.path = given;
        file.existsOnPc =
            !given.isEmpty() && QFileInfo(ResolveSoundPath(given, options_.soundBaseDir)).isFile();
        files_.push_back(std::move(file));
    }
    int queued = 0;
    for (std::size_t i = 0; i < files_.size() && i < kMaxSoundFiles; ++i) {
        if (files_[i].existsOnPc)
            continue;
        ++queued;
        collector_.AddTask(
            std::make_unique<TGetFilesizeTask>(std::uint8_t(i)),
            [this, i](TProgTask &t, std::uint8_t state, QString &message) {
                if (state == kTaskDone) {
                    files_[i].size = std::uint32_t(static_cast<TGetFilesizeTask &>(t).RecordLength() - 4);
                    files_[i].sizeKnown = true;
                    message = QStringLiteral("Размер файла №%1 успешно прочитан").arg(i + 1);
                } else if (state == kTaskFailed) {
                    ++soundFailures_;
                    message =
                        QStringLiteral("Не удалось прочитать размер файла №%1 . %2").arg(i + 1).arg(message);
                }
            });
    }
    if (queued == 0)
        SoundReadStep(13); // nothing to fetch: straight to the end
}

void TProgSession::SoundReadStep(int step)
{
    if (!readingSounds_ || !operationActive_)
        return;
    int queued = 0;
    if (step == 11) {
        for (std::size_t i = 0; i < files_.size(); ++i) {
            if (files_[i].existsOnPc || !files_[i].sizeKnown)
                continue;
            ++queued;
            TProgTask *task = collector_.AddTask(
                std::make_unique<TReadFileTask>(QStringLiteral("Чтение файла №%1").arg(i + 1),
                                                std::uint8_t(i), files_[i].size, collector_.PackSize()),
                [this, i](TProgTask &t, std::uint8_t state, QString &message) {
                    if (state == kTaskDone) {
                        files_[i].contents = static_cast<TReadFileTask &>(t).Data();
                        message =
                            QStringLiteral("Файл №%1 успешно прочитан в буффер. %2").arg(i + 1).arg(message);
                    } else if (state == kTaskFailed) {
                        ++soundFailures_;
                        message = QStringLiteral("Не удалось прочитай файл №%1 %2").arg(i + 1).arg(message);
                    }
                });
            task->OnProgress = Progress();
        }
    } else if (step == 12) {
        for (std::size_t i = 0; i < files_.size(); ++i) {
            if (files_[i].existsOnPc || !files_[i].sizeKnown || files_[i].contents.size() != files_[i].size)
                continue;
            ++queued;
            collector_.AddTask(std::make_unique<TVerifyFileTask>(
                                   std::uint8_t(i), files_[i].size,
                                   Crc32(files_[i].contents.data(), files_[i].contents.size())),
                               [this, i](TProgTask &, std::uint8_t state, QString &) {
                                   if (state == kTaskDone)
                                       files_[i].sameOnDevice = true;
                                   else if (state == kTaskFailed)
                                       ++soundFailures_;
                               });
        }
    } else if (step == 13) {
        std::vector<QString> paths;
        int notFetched = 0;
        for (std::size_t i = 0; i < files_.size(); ++i) {
            TFileObj &file = files_[i];
            if (!file.existsOnPc) {
                if (file.sameOnDevice && file.contents.size() == file.size) {
                    const QString suggested = StoredFileName(file.path);
                    const QString target =
                        ChooseSoundSavePath ? ChooseSoundSavePath(int(i), suggested) : QString();
                    QString why;
                    if (!target.isEmpty()) {
                        const std::string_view bytes(reinterpret_cast<const char *>(file.contents.data()),
                                                     file.contents.size());
                        if (WriteFileAtomically(target, bytes, &why)) {
                            file.path = target;
                            file.existsOnPc = true;
                        } else {
                            ShowError(QStringLiteral("Не удалось сохранить файл %1: %2").arg(target, why));
                        }
                    }
                } else {
                    ++notFetched;
                }
            }
            paths.push_back(file.path);
        }
        work_ = WriteSoundPaths(work_, paths);
        Status(QStringLiteral("Прочитано успешно!"));
        if (notFetched > 0)
            Finish(false, QStringLiteral("Прочитано успешно! Не получено из устройства звуковых файлов: %1")
                              .arg(notFetched));
        else
            Finish(true, lastStatus_);
        return;
    } else {
        return;
    }
    if (queued == 0)
        SoundReadStep(step + 1);
}

// ---- firmware ----

void TProgSession::StartFirmware()
{
    const QString path = ChooseFirmwareFile ? ChooseFirmwareFile(options_.lastDir) : QString();
    if (path.isEmpty()) {
        Finish(false, QString());
        return;
    }
    const QFileInfo info(path);
    options_.lastDir = info.absolutePath();
    Status(QStringLiteral("Чтение файла прошивки: ") + info.fileName());
    QString why;
    const auto bytes = ReadWholeFile(path, &why);
    QString error;
    std::optional<FirmwareFile> file;
    if (!bytes)
        error = QStringLiteral("Не удалось прочитать файл прошивки: ") + why;
    else
        file = ParseFirmwareFile(std::vector<std::uint8_t>(bytes->begin(), bytes->end()), &error);
    if (!file) {
        Status(error);
        ShowError(error);
        Finish(false, error);
        return;
    }
    firmware_ = std::move(file);
    Status(QStringLiteral("Файл успешно прочитан: блоков %1, точек вызова %2")
               .arg(firmware_->blocks.size())
               .arg(firmware_->entries.size()));
    WriteFirmware();
}

void TProgSession::WriteFirmware()
{
    if (firmware_->blocks.empty()) {
        Status(QStringLiteral("Нет блоков данных для записи"));
        Finish(false, lastStatus_);
        return;
    }
    auto bytes = std::make_shared<const Bytes>(firmware_->bytes);
    const std::size_t count = firmware_->blocks.size();
    for (std::size_t i = 0; i < count; ++i) {
        const FirmwareBlock block = firmware_->blocks[i];
        auto write = std::make_unique<TWriteTask>(1, QStringLiteral("запись блока данных %1").arg(i + 1),
                                                  block.address, bytes, block.dataOffset, block.size,
                                                  collector_.PackSize());
        write->Tag = int(i);
        write->OnProgress = Progress();
        collector_.AddTask(
            std::move(write), [this, block, i, count](TProgTask &, std::uint8_t state, QString &message) {
                if (state == kTaskFailed) {
                    collector_.Abort();
                    Finish(false, message);
                    return;
                }
                if (state != kTaskDone)
                    return;
                auto verify =
                    std::make_unique<TVerifyTask>(QStringLiteral("верификация блока данных %1").arg(i + 1),
                                                  block.address, block.size, block.crc);
                verify->Tag = int(i);
                collector_.AddTask(
                    std::move(verify), [this, i, count](TProgTask &, std::uint8_t s, QString &text) {
                        if (s == kTaskFailed) {
                            collector_.Abort();
                            Finish(false, text);
                            return;
                        }
                        if (s != kTaskDone || i + 1 != count)
                            return;
                        text = QStringLiteral("Верификация блока %1 успешно пройдена.").arg(i + 1);
                        collector_.AddTask(std::make_unique<TSetExecutionPointTask>(firmware_->EntryPoint()),
                                           [this](TProgTask &, std::uint8_t e, QString &last) {
                                               if (e == kTaskFailed) {
                                                   collector_.Abort();
                                                   Finish(false, last);
                                               } else if (e == kTaskDone) {
                                                   last = QStringLiteral("Прошивка успешно записана.");
                                                   Finish(true, last);
                                               }
                                           });
                    });
            });
    }
}

} // namespace vantor::programming
