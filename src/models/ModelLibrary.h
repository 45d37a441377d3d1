#pragma once
// Binds the controller behaviour model library libvantor_model.so at run time.
//
// The library's exports are named open, next, nextAll and close; linking it would
// replace the C library's open and close in the whole process. So it is loaded by
// path with local symbol scope and its functions are bound by name. The configurator
// refuses to start when Load() fails; the Vantor-5 window and vantor5-tool step the
// model through the typed calls below.
//
// The library holds one model per process: every ModelLibrary bound to the same file
// shares it. Calls must come from one thread at a time.

#ifndef VANTOR_MODEL_NO_PROTOTYPES
#define VANTOR_MODEL_NO_PROTOTYPES // pointer types and status codes only: the prototypes clash with
                                   // <unistd.h>
#endif
#include "model_library/vantor_model.h"

#include <QLibrary>
#include <QString>

#include <cstdint>
#include <string_view>

namespace vantor {

class ModelLibrary {
public:
    // The program's folder + "/libvantor_model.so" (needs the application object).
    static QString DefaultPath();

    explicit ModelLibrary(QString path = DefaultPath());
    ~ModelLibrary();
    ModelLibrary(const ModelLibrary &) = delete;
    ModelLibrary &operator=(const ModelLibrary &) = delete;

    // Loads the library and binds its four functions. False, with a Russian message
    // in ErrorString(), when the file cannot be loaded or a function is missing.
    bool Load();
    bool IsLoaded() const { return close_ != nullptr; }
    const QString &ErrorString() const { return error_; }
    const QString &Path() const { return path_; }

    // The library's functions (vantor_model.h). Without a loaded library each returns
    // VANTOR_MODEL_NO_MODEL and touches no buffer.
    std::int32_t Open(const char *first, const char *last) const;
    // Opens a model on a configuration text the way the configurator does: from its
    // first character to its last (the closing brace). Empty text gives -2.
    std::int32_t Open(std::string_view text) const;
    std::int32_t Next(std::int32_t soIndex, std::int32_t request, const std::uint8_t *trigIn,
                      std::uint8_t *outPhase, std::uint8_t *outStates) const;
    std::int32_t NextAll(std::uint32_t time, std::uint8_t *trig, std::uint8_t *soPhase, std::uint8_t *soCycle,
                         std::uint8_t *soDay, std::uint8_t *soWeek, std::uint8_t *soYear,
                         std::uint8_t *dirStates, std::uint8_t *const *sgOut) const;
    std::int32_t Close() const;

    // The library the program bound at start-up, which the windows use; nullptr
    // before that (and in tests that set none).
    static ModelLibrary *Current();
    static void SetCurrent(ModelLibrary *library);

    // What a status code of the library means, in Russian ("нет списка триггеров «triggers»").
    static QString StatusText(std::int32_t status);

private:
    QString path_;
    QLibrary library_;
    QString error_;
    VantorModelOpenFn open_ = nullptr;
    VantorModelNextFn next_ = nullptr;
    VantorModelNextAllFn nextAll_ = nullptr;
    VantorModelCloseFn close_ = nullptr;
};

} // namespace vantor
