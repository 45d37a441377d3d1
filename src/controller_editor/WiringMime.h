#pragma once
// What a drag between a block's output list and the signal-head tree carries: an
// output, a lamp of a head, or a whole head. The data names its configuration, so a
// drop into another window's lists is refused, and is checked against the lists
// when it is read, so a drag never leaves a dangling object behind.

#include <QString>

#include <optional>

class QMimeData;

namespace vantor {
class TControllerOutput;
class TSemaphoreObject;
class TVantorConfig;
} // namespace vantor

namespace vantor::editor {

inline const QString kOutputMimeType = QStringLiteral("application/x-vantor5-output");
inline const QString kLampMimeType = QStringLiteral("application/x-vantor5-lamp");

// A lamp of a head, or the whole head when lampPos is -1.
struct LampRef {
    TSemaphoreObject *head = nullptr;
    int lampPos = -1;
};

QMimeData *EncodeOutput(const TVantorConfig &config, const TControllerOutput &output);
TControllerOutput *DecodeOutput(const TVantorConfig &config, const QMimeData *data);

QMimeData *EncodeLamp(const TVantorConfig &config, const LampRef &lamp);
std::optional<LampRef> DecodeLamp(const TVantorConfig &config, const QMimeData *data);

} // namespace vantor::editor
