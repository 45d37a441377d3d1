#pragma once
// Binds the recording stand-in for libvantor_model.so (tests/models/FakeModelRecorder.cpp)
// and reads what was called. Tests that use it define VANTOR_FAKE_MODEL_RECORDER as
// the stand-in's path (CMake: $<TARGET_FILE:fake_model_recorder>).

#include "models/ModelLibrary.h"

#include <QLibrary>
#include <QString>

#include <cstdint>
#include <string>

namespace vantor::test {

class FakeModel {
public:
    FakeModel() : library_(QStringLiteral(VANTOR_FAKE_MODEL_RECORDER)), controls_(library_.Path())
    {
        loaded_ = library_.Load() && controls_.load();
        reset_ =
            reinterpret_cast<void (*)(std::int32_t, std::int32_t)>(controls_.resolve("fake_model_reset"));
        log_ = reinterpret_cast<const char *(*)()>(controls_.resolve("fake_model_log"));
        opened_ = reinterpret_cast<const char *(*)()>(controls_.resolve("fake_model_opened_text"));
        Reset();
    }

    bool IsLoaded() const { return loaded_ && reset_ && log_ && opened_; }
    const ModelLibrary &Library() const { return library_; }
    ModelLibrary &Library() { return library_; }

    // openStatus: what `open` returns; failEveryNthNext > 0 makes every n-th `next` fail.
    void Reset(std::int32_t openStatus = 0, std::int32_t failEveryNthNext = 0)
    {
        if (reset_)
            reset_(openStatus, failEveryNthNext);
    }
    // The calls so far, e.g. "open nextAll close".
    std::string Log() const { return log_ ? log_() : "<not loaded>"; }
    std::string OpenedText() const { return opened_ ? opened_() : ""; }

private:
    ModelLibrary library_;
    QLibrary controls_;
    bool loaded_ = false;
    void (*reset_)(std::int32_t, std::int32_t) = nullptr;
    const char *(*log_)() = nullptr;
    const char *(*opened_)() = nullptr;
};

} // namespace vantor::test
