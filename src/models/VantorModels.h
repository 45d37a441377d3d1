#pragma once
// Controller block models: what a kind of hardware block offers (outputs, inputs,
// memory limits), read from the block-model plug-ins ("*.vdl") at start-up.
//
// The process keeps one registry of models, filled once by LoadModelPlugins and
// ordered for the editor's block menu. Every block of a configuration owns its own
// copy of its model (TVantorModel::Clone), because the block's output records carry
// that block's monitoring settings.

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantor {

class TVantorModel;

// Raised for every failure while reading a plug-in; what() is one of the Russian
// texts below (UTF-8).
class EVantorModelException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char *kModelOutdatedText = "Библиотека устарела и не поддерживается в данной версии.";
inline constexpr const char *kModelNeedsNewerClientText =
    "Библиотека требует более новую версию конфигуратора.";
inline constexpr const char *kModelExportMissingFormat = "Функция %s не найдена.";
inline constexpr const char *kModelExportFailedFormat = "Функция %s вернула ошибку %d.";

// One output of a block. The model supplies index, caption and mask; the remaining
// fields are the output's settings in a block (power, brightness, monitoring), which
// the block editor changes and the configuration file stores.
class TVantorModelOutput {
public:
    int Index = 0;                 // 0-based position within the block
    TVantorModel *Model = nullptr; // owning model
    std::string Name;              // caption from the plug-in, e.g. "1к"
    std::string Caption;           // second copy of the caption
    std::uint32_t Mask = 0;        // VDL_MASK_* bits

    double Power = 0;              // watts; -3 means "Вкл" (switched load)
    std::int32_t DayBright = -1;   // percent, -1 = not set
    std::int32_t NightBright = -1; // percent, -1 = not set
    bool RedControl = false;       // red lamp monitoring
    bool GreenControl = false;     // green lamp monitoring
    double IShort = 0;             // short-circuit current, A
    double IOff = 0;               // current threshold "lamp off", A
    double IOn = 0;                // current threshold "lamp on", A
    double UOff = 0;               // voltage threshold "lamp off", V
    double UOn = 0;                // voltage threshold "lamp on", V
};

class TVantorModelInput {
public:
    int Index = 0;
    TVantorModel *Model = nullptr;
};

class TVantorModel {
public:
    TVantorModel() = default;
    TVantorModel(const TVantorModel &) = delete;
    TVantorModel &operator=(const TVantorModel &) = delete;

    // Reads a plug-in file. Throws EVantorModelException with one of the texts above;
    // the library is unloaded again whether reading succeeds or fails. A file that
    // cannot be loaded as a shared library at all throws EVantorModelException with
    // the loader's own reason (LoadModelPlugins skips such files silently).
    static std::unique_ptr<TVantorModel> FromFile(const QString &fileName);

    // A separate model object with the same description and outputs (with their
    // current settings); every block gets one.
    std::unique_ptr<TVantorModel> Clone() const;

    // Appends an output or input (used by FromFile, and by tests that build models
    // without plug-ins).
    TVantorModelOutput &AddOutput(const std::string &caption, std::uint32_t mask = 0);
    TVantorModelInput &AddInput();

    int OutputCount() const { return static_cast<int>(Outputs.size()); }
    int InputCount() const { return static_cast<int>(Inputs.size()); }

    QString FileName;            // full path of the plug-in file
    std::int32_t InternalId = 0; // identifies the model in configuration files
    std::uint8_t Revision = 0;
    std::string Description; // the block editor may give it a new text
    std::uint8_t Family = 0;
    std::string FamilyName;
    std::uint32_t Flags = 0;
    std::uint32_t MaxRAMSize = 0;
    std::uint32_t MaxWorkCycles = 0;
    std::uint32_t MaxDayplanItems = 0;
    std::uint32_t MaxYearplanItems = 0;
    std::string DisplayName;     // what menus and new blocks show
    std::string DescriptionCopy; // the description as read

    std::vector<std::unique_ptr<TVantorModelOutput>> Outputs;
    std::vector<std::unique_ptr<TVantorModelInput>> Inputs;
};

// ---- the process-wide registry ------------------------------------------------------

// A plug-in that failed to load at start-up.
struct PluginLoadError {
    QString fileName; // bare file name, e.g. "sb24.vdl"
    QString reason;   // the exception's text
    // The message box text: "Ошибка при загрузке библиотеки %s." CR LF reason.
    QString Text() const;
};

// Caption of the message box that reports a failed plug-in.
inline constexpr const char *kPluginErrorCaption = "Конфигуратор контроллеров Vantor";

using PluginErrorHandler = std::function<void(const PluginLoadError &)>;

// Loads the plug-ins of `folder` ("*.vdl"; when none of them loads, those of
// folder/vdl/) and appends them to the registry, ordered by family (highest first)
// and then by description. Each plug-in that fails is reported through onError (may
// be empty) and skipped; files that are not shared libraries are skipped silently.
// Exceptions other than EVantorModelException pass to the caller. Returns the number
// of models added.
int LoadModelPlugins(const QString &folder, const PluginErrorHandler &onError);

// The registry in menu order.
const std::vector<std::unique_ptr<TVantorModel>> &VantorModels();

// The first registered model with this internal id, or nullptr.
TVantorModel *FindModelById(std::int32_t id);

// Appends a model (tests, and tools that build models without plug-in files).
TVantorModel *RegisterModel(std::unique_ptr<TVantorModel> model);

// Empties the registry (program end, and tests that need a clean process state).
void ClearVantorModels();

} // namespace vantor
