#include "models/VantorModels.h"

#include "models/VdlInterface.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <algorithm>
#include <cstdio>

namespace vantor {
namespace {

std::vector<std::unique_ptr<TVantorModel>> &Registry()
{
    static std::vector<std::unique_ptr<TVantorModel>> registry;
    return registry;
}

std::string Format(const char *format, const char *name)
{
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, name);
    return buffer;
}

std::string Format(const char *format, const char *name, int value)
{
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, name, value);
    return buffer;
}

// A string returned by a plug-in; a null pointer reads as empty.
std::string CopyString(const char *text)
{
    return text ? std::string(text) : std::string();
}

// The loaded library while a model is read; unloads it on every way out.
class PluginLibrary {
public:
    explicit PluginLibrary(const QString &fileName) : library_(fileName)
    {
        if (!library_.load())
            throw EVantorModelException(library_.errorString().toStdString());
    }
    ~PluginLibrary() { library_.unload(); }
    PluginLibrary(const PluginLibrary &) = delete;
    PluginLibrary &operator=(const PluginLibrary &) = delete;

    bool Has(const char *name) { return library_.resolve(name) != nullptr; }

    // The export `name` as a function of type Fn; a missing export throws.
    template <class Fn>
    Fn Require(const char *name)
    {
        const QFunctionPointer function = library_.resolve(name);
        if (!function)
            throw EVantorModelException(Format(kModelExportMissingFormat, name));
        return reinterpret_cast<Fn>(function);
    }

private:
    QLibrary library_;
};

// Thrown when the file is not a shared library at all; such files are skipped.
class NotALibrary : public EVantorModelException {
public:
    using EVantorModelException::EVantorModelException;
};

std::unique_ptr<TVantorModel> ReadModel(const QString &fileName)
{
    auto model = std::make_unique<TVantorModel>();
    model->FileName = fileName;
    std::unique_ptr<PluginLibrary> library;
    try {
        library = std::make_unique<PluginLibrary>(fileName);
    } catch (const EVantorModelException &error) {
        throw NotALibrary(error.what());
    }

    if (library->Has("IsVDL") || !library->Has("GetVDLVersion") || !library->Has("GetLastClientVersion"))
        throw EVantorModelException(kModelOutdatedText);
    if (library->Require<VdlInt32Fn>("GetVDLVersion")() < VDL_MIN_INTERFACE_VERSION)
        throw EVantorModelException(kModelOutdatedText);
    if (library->Require<VdlInt32Fn>("GetLastClientVersion")() > VDL_CLIENT_VERSION)
        throw EVantorModelException(kModelNeedsNewerClientText);

    model->InternalId = library->Require<VdlInt32Fn>("GetInternalID")();
    model->Revision = library->Require<VdlByteFn>("GetRevision")();
    model->Description = CopyString(library->Require<VdlStringFn>("GetDescriptionA")());
    model->Family = library->Require<VdlByteFn>("GetFamily")();
    model->FamilyName = CopyString(library->Require<VdlStringFn>("GetFamilyNameA")());
    model->Flags = library->Require<VdlUInt32Fn>("GetFlags")();
    model->MaxRAMSize = library->Require<VdlUInt32Fn>("GetMaxRAMSize")();
    model->MaxDayplanItems = library->Require<VdlUInt32Fn>("GetMaxDayplanItemsCount")();
    model->MaxYearplanItems = library->Require<VdlUInt32Fn>("GetMaxYearplanItemsCount")();
    model->MaxWorkCycles = library->Require<VdlUInt32Fn>("GetMaxWorkCyclesCount")();

    const auto describe = library->Require<VdlOutputDescriptionFn>("GetOutputDescriptionA");
    const auto mask = library->Require<VdlOutputMaskFn>("GetOutputMask");
    library->Require<VdlOutputCtlOptionsFn>("GetOutputCtlOptions");
    const int outputCount = library->Require<VdlByteFn>("GetOutputCount")();
    for (int index = 0; index < outputCount; ++index) {
        const char *caption = nullptr;
        if (const std::int32_t result = describe(index, &caption); result != 0)
            throw EVantorModelException(Format(kModelExportFailedFormat, "GetOutputDescriptionA", result));
        std::uint32_t bits = 0;
        if (const std::int32_t result = mask(index, &bits); result != 0)
            throw EVantorModelException(Format(kModelExportFailedFormat, "GetOutputMask", result));
        model->AddOutput(CopyString(caption), bits);
    }

    const int inputCount = library->Require<VdlByteFn>("GetInputCount")();
    for (int index = 0; index < inputCount; ++index)
        model->AddInput();

    model->DisplayName = model->Description;
    model->DescriptionCopy = model->Description;
    return model;
}

// The registry's sort key: "%0.3d%s" of (family - 1000) and the upper-cased
// description. The number is negative (-1000..-745, always three digits or more), so
// higher families come first.
QString SortKey(const TVantorModel &model)
{
    return QString::number(static_cast<int>(model.Family) - 1000) +
           QString::fromStdString(model.Description).toUpper();
}

// Reads every "*.vdl" of folder (in file-name order) into loaded.
void LoadFolder(const QString &folder, const PluginErrorHandler &onError,
                std::vector<std::unique_ptr<TVantorModel>> &loaded)
{
    const QDir dir(folder);
    const QStringList files = dir.entryList({QStringLiteral("*.vdl")}, QDir::Files, QDir::Name);
    for (const QString &file : files) {
        try {
            loaded.push_back(ReadModel(dir.filePath(file)));
        } catch (const NotALibrary &) {
            // Not a shared library at all: nothing to report, nothing to register.
        } catch (const EVantorModelException &error) {
            if (onError)
                onError(PluginLoadError{file, QString::fromUtf8(error.what())});
        }
    }
}

} // namespace

std::unique_ptr<TVantorModel> TVantorModel::FromFile(const QString &fileName)
{
    return ReadModel(fileName);
}

std::unique_ptr<TVantorModel> TVantorModel::Clone() const
{
    auto copy = std::make_unique<TVantorModel>();
    copy->FileName = FileName;
    copy->InternalId = InternalId;
    copy->Revision = Revision;
    copy->Description = Description;
    copy->Family = Family;
    copy->FamilyName = FamilyName;
    copy->Flags = Flags;
    copy->MaxRAMSize = MaxRAMSize;
    copy->MaxWorkCycles = MaxWorkCycles;
    copy->MaxDayplanItems = MaxDayplanItems;
    copy->MaxYearplanItems = MaxYearplanItems;
    copy->DisplayName = DisplayName;
    copy->DescriptionCopy = DescriptionCopy;
    for (const auto &output : Outputs) {
        TVantorModelOutput &out = copy->AddOutput(output->Name, output->Mask);
        const int index = out.Index;
        TVantorModel *owner = out.Model;
        out = *output;
        out.Index = index;
        out.Model = owner;
    }
    for (std::size_t i = 0; i < Inputs.size(); ++i)
        copy->AddInput();
    return copy;
}

TVantorModelOutput &TVantorModel::AddOutput(const std::string &caption, std::uint32_t mask)
{
    auto output = std::make_unique<TVantorModelOutput>();
    output->Index = OutputCount();
    output->Model = this;
    output->Name = caption;
    output->Caption = caption;
    output->Mask = mask;
    Outputs.push_back(std::move(output));
    return *Outputs.back();
}

TVantorModelInput &TVantorModel::AddInput()
{
    auto input = std::make_unique<TVantorModelInput>();
    input->Index = InputCount();
    input->Model = this;
    Inputs.push_back(std::move(input));
    return *Inputs.back();
}

QString PluginLoadError::Text() const
{
    return QStringLiteral("Ошибка при загрузке библиотеки %1.\r\n%2").arg(fileName, reason);
}

int LoadModelPlugins(const QString &folder, const PluginErrorHandler &onError)
{
    std::vector<std::unique_ptr<TVantorModel>> loaded;
    LoadFolder(folder, onError, loaded);
    if (loaded.empty())
        LoadFolder(QDir(folder).filePath(QStringLiteral("vdl")), onError, loaded);

    // Case-insensitive order of the keys; models with equal keys keep file-name order.
    std::vector<std::pair<QString, std::unique_ptr<TVantorModel>>> keyed;
    keyed.reserve(loaded.size());
    for (auto &model : loaded)
        keyed.emplace_back(SortKey(*model), std::move(model));
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) {
        return QString::compare(a.first, b.first, Qt::CaseInsensitive) < 0;
    });
    for (auto &[key, model] : keyed)
        Registry().push_back(std::move(model));
    return static_cast<int>(keyed.size());
}

const std::vector<std::unique_ptr<TVantorModel>> &VantorModels()
{
    return Registry();
}

TVantorModel *FindModelById(std::int32_t id)
{
    for (const auto &model : Registry())
        if (model->InternalId == id)
            return model.get();
    return nullptr;
}

TVantorModel *RegisterModel(std::unique_ptr<TVantorModel> model)
{
    Registry().push_back(std::move(model));
    return Registry().back().get();
}

void ClearVantorModels()
{
    Registry().clear();
}

} // namespace vantor
