#include "ModelLibrary.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace vantor {

QString ModelLibrary::DefaultPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/libvantor_model.so");
}

namespace {
ModelLibrary *current = nullptr;
} // namespace

ModelLibrary *ModelLibrary::Current()
{
    return current;
}

void ModelLibrary::SetCurrent(ModelLibrary *library)
{
    current = library;
}

ModelLibrary::ModelLibrary(QString path) : path_(std::move(path))
{
    // Local symbol scope (no ExportExternalSymbolsHint): the library's open and close
    // stay out of the process's global symbol table.
    library_.setLoadHints(QLibrary::ResolveAllSymbolsHint);
}

ModelLibrary::~ModelLibrary()
{
    if (current == this)
        current = nullptr;
    if (library_.isLoaded())
        library_.unload();
}

bool ModelLibrary::Load()
{
    if (IsLoaded())
        return true;
    error_.clear();
    if (!QFileInfo(path_).isFile()) {
        error_ = QStringLiteral("Не найдена библиотека модели контроллера %1.").arg(path_);
        return false;
    }
    library_.setFileName(path_);
    if (!library_.load()) {
        error_ = QStringLiteral("Не удалось загрузить библиотеку модели контроллера %1: %2")
                     .arg(path_, library_.errorString());
        return false;
    }
    const auto bind = [this](const char *name) -> QFunctionPointer {
        QFunctionPointer function = library_.resolve(name);
        if (function == nullptr && error_.isEmpty())
            error_ = QStringLiteral("В библиотеке модели контроллера %1 нет функции «%2».")
                         .arg(path_, QString::fromLatin1(name));
        return function;
    };
    auto open = reinterpret_cast<VantorModelOpenFn>(bind("open"));
    auto next = reinterpret_cast<VantorModelNextFn>(bind("next"));
    auto nextAll = reinterpret_cast<VantorModelNextAllFn>(bind("nextAll"));
    auto close = reinterpret_cast<VantorModelCloseFn>(bind("close"));
    if (!error_.isEmpty()) {
        library_.unload();
        return false;
    }
    open_ = open;
    next_ = next;
    nextAll_ = nextAll;
    close_ = close;
    return true;
}

std::int32_t ModelLibrary::Open(const char *first, const char *last) const
{
    return open_ ? open_(first, last) : VANTOR_MODEL_NO_MODEL;
}

std::int32_t ModelLibrary::Open(std::string_view text) const
{
    if (text.empty())
        return Open(nullptr, nullptr);
    return Open(text.data(), text.data() + text.size() - 1);
}

std::int32_t ModelLibrary::Next(std::int32_t soIndex, std::int32_t request, const std::uint8_t *trigIn,
                                std::uint8_t *outPhase, std::uint8_t *outStates) const
{
    return next_ ? next_(soIndex, request, trigIn, outPhase, outStates) : VANTOR_MODEL_NO_MODEL;
}

std::int32_t ModelLibrary::NextAll(std::uint32_t time, std::uint8_t *trig, std::uint8_t *soPhase,
                                   std::uint8_t *soCycle, std::uint8_t *soDay, std::uint8_t *soWeek,
                                   std::uint8_t *soYear, std::uint8_t *dirStates,
                                   std::uint8_t *const *sgOut) const
{
    return nextAll_ ? nextAll_(time, trig, soPhase, soCycle, soDay, soWeek, soYear, dirStates, sgOut)
                    : VANTOR_MODEL_NO_MODEL;
}

std::int32_t ModelLibrary::Close() const
{
    return close_ ? close_() : VANTOR_MODEL_NO_MODEL;
}

QString ModelLibrary::StatusText(std::int32_t status)
{
    switch (status) {
    case VANTOR_MODEL_OK: return QStringLiteral("модель загружена");
    case VANTOR_MODEL_NO_MODEL: return QStringLiteral("модель не загружена");
    case VANTOR_MODEL_BAD_VERSION: return QStringLiteral("нет версии формата «ver» или она больше 1");
    case VANTOR_MODEL_NO_PROMTACTS: return QStringLiteral("нет списка программ переходов «promtacts»");
    case VANTOR_MODEL_NO_TRIGGERS: return QStringLiteral("нет списка триггеров «triggers»");
    case VANTOR_MODEL_NO_DIRS: return QStringLiteral("нет раздела направлений «dirs»");
    case VANTOR_MODEL_NO_SOS: return QStringLiteral("нет списка светофорных объектов «sos»");
    case VANTOR_MODEL_NO_SIG_GROUP_TYPES:
        return QStringLiteral("нет списка типов сигнальных групп «sig_group_types»");
    case VANTOR_MODEL_NO_SIG_GROUPS: return QStringLiteral("нет списка сигнальных групп «sig_groups»");
    case VANTOR_MODEL_LIST_TOO_LONG: return QStringLiteral("в одном из списков больше 255 элементов");
    case VANTOR_MODEL_OUT_OF_MEMORY: return QStringLiteral("не хватило памяти для модели");
    case VANTOR_MODEL_BAD_SIGNAL_OBJECT: return QStringLiteral("нет светофорного объекта с таким номером");
    default: return QStringLiteral("неизвестный код состояния модели %1").arg(status);
    }
}

} // namespace vantor
