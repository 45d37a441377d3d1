#pragma once
// Runs the controller behaviour model on the configuration a Vantor-5 window holds.
//
// Every use follows one pattern: take the window's document (GetConfigJson), render
// its "vantor5" object in the compact layout, `open` the model on that text, step it,
// and `close` it again before the user action ends, so that nothing stays loaded
// between actions. When the document or its "vantor5" object is missing nothing is
// called at all. Once `open` has been called, `close` follows in every case: after a
// failed `open`, after a failed step, and when a caller's callback throws. Buffers
// handed to the library are owned here and sized from the document the model reads.
//
// Two callers: the window's test button (RunAutomaticStep, one `nextAll`) and the
// cycle timeline (PreviewObject, one `next` per second).

#include "models/ModelLibrary.h"
#include "json/JsonText.h"

#include <QDateTime>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace vantor {

// The controller's clock: whole seconds from 1 January 2003 00:00:00 to `local`,
// rounded to the nearest second. Times before that epoch give 0.
std::uint32_t ControllerTime(const QDateTime &local);

// The lengths of the buffers the model library fills, read from a "vantor5" object
// the way the library counts its lists.
struct ModelShape {
    int triggers = 0;                  // elements of "triggers"
    int objects = 0;                   // elements of "sos"
    int directions = 0;                // elements of "dirs"."at"
    std::vector<int> objectDirections; // per element of "sos": its "dirs"
    // Per element of "sig_groups": the bytes of its output buffer; 0 for a group
    // without heads, which gets no buffer. A group's buffer holds its first head's
    // lamps and at least as many bytes as its type has outputs ("out"), since the
    // library writes that many.
    std::vector<int> groupOutputs;

    static ModelShape Of(const json::Json &vantor5);
};

// What one automatic step of the whole controller gave.
struct AutomaticStep {
    std::int32_t status = VANTOR_MODEL_NO_MODEL;                         // of nextAll
    std::vector<std::uint8_t> triggers;                                  // after their reset rules
    std::vector<std::uint8_t> phase, cycle, dayPlan, weekPlan, yearPlan; // per object
    std::vector<std::uint8_t> directionStates;                           // per direction
    std::vector<std::vector<std::uint8_t>> groupOutputs;                 // per group; empty without heads
};

// One second of a preview (only seconds whose `next` returned 0 are kept).
struct PreviewStep {
    int second = 0;
    std::uint8_t phase = 0;
    std::vector<std::uint8_t> states; // per direction of the previewed object
};

struct PreviewResult {
    // The status of `open`; nothing when there was no configuration to open.
    std::optional<std::int32_t> openStatus;
    std::vector<PreviewStep> steps;
};

class ModelBridge {
public:
    explicit ModelBridge(const ModelLibrary &library) : library_(library) {}

    // The test button: opens the model on root["vantor5"] and, when it loaded, runs
    // one `nextAll` at `time` with every trigger inactive. Nothing when there was no
    // configuration; an AutomaticStep whose status is the failed `open`'s otherwise.
    std::optional<AutomaticStep> RunAutomaticStep(const std::optional<json::Json> &root,
                                                  std::uint32_t time) const;

    // Sets the trigger inputs for one second (one byte per trigger, not 0 = active);
    // the buffer is cleared before each call.
    using TriggerInputs = std::function<void(int second, std::span<std::uint8_t> inputs)>;

    // The cycle timeline: opens the model on root["vantor5"] and calls `next` for
    // seconds 0 .. seconds-1 on signal object soIndex (0-based) with `request` (a
    // cycle number, 0 for the object's own program, -1..-3 the special modes).
    PreviewResult PreviewObject(const std::optional<json::Json> &root, int soIndex, int request, int seconds,
                                const TriggerInputs &triggerInputs = {}) const;

private:
    const ModelLibrary &library_;
};

} // namespace vantor
