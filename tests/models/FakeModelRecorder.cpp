// A stand-in for libvantor_model.so that records every call, so tests can check which
// of open, next, nextAll and close a caller made, in which order and with what.
//
// Besides the four exports it has fake_model_* controls: the status `open` returns,
// which `next` calls fail, the recorded log ("open close ...") and the last text given
// to `open`.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
std::string log;
std::string openedText;
std::int32_t openStatus = 0;
std::int32_t nextStatusEvery = 0; // n > 0: every n-th `next` returns -1
std::int32_t nextCalls = 0;
bool loaded = false;

void Record(const char *call)
{
    if (!log.empty())
        log += ' ';
    log += call;
}
} // namespace

FAKE_EXPORT std::int32_t open(const char *first, const char *last)
{
    Record("open");
    openedText.assign(first, static_cast<std::size_t>(last - first + 1));
    loaded = true;
    nextCalls = 0;
    return openStatus;
}

FAKE_EXPORT std::int32_t next(std::int32_t, std::int32_t, const std::uint8_t *trigIn, std::uint8_t *outPhase,
                              std::uint8_t *outStates)
{
    Record("next");
    if (!loaded)
        return -1;
    ++nextCalls;
    if (nextStatusEvery > 0 && nextCalls % nextStatusEvery == 0)
        return -1;
    // Phase: the call's number; state 0: whether trigger 0 was active.
    *outPhase = static_cast<std::uint8_t>(nextCalls);
    if (outStates != nullptr)
        outStates[0] = trigIn != nullptr && trigIn[0] != 0 ? 2 : 1;
    return 0;
}

FAKE_EXPORT std::int32_t nextAll(std::uint32_t, std::uint8_t *, std::uint8_t *soPhase, std::uint8_t *,
                                 std::uint8_t *, std::uint8_t *, std::uint8_t *, std::uint8_t *,
                                 std::uint8_t *const *)
{
    Record("nextAll");
    if (!loaded)
        return -1;
    if (soPhase != nullptr)
        soPhase[0] = 7;
    return 0;
}

FAKE_EXPORT std::int32_t close()
{
    Record("close");
    const bool was = loaded;
    loaded = false;
    return was ? 0 : -1;
}

FAKE_EXPORT void fake_model_reset(std::int32_t status, std::int32_t failEveryNthNext)
{
    log.clear();
    openedText.clear();
    openStatus = status;
    nextStatusEvery = failEveryNthNext;
    loaded = false;
}

FAKE_EXPORT const char *fake_model_log()
{
    return log.c_str();
}

FAKE_EXPORT const char *fake_model_opened_text()
{
    return openedText.c_str();
}
