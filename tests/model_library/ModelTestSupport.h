#pragma once
// Shared helpers of the model library tests: test data, compact text, and a dump of
// everything the loader puts into a model.

#include "model_library/ModelApi.h"
#include "model_library/ModelClass.h"

#include <string>
#include <string_view>

namespace vantor::model::test {

// A file of tests/model_library/data/.
std::string ReadTestData(const std::string &name);

// The text without blanks between tokens (the configurator's compact layout).
std::string Compact(std::string_view json);

// Every configuration field of the model, one line per object, for comparing models.
std::string DumpConfig(const ModelClass &model);

// Opens a model on text (end position one past its last character) and closes it
// when it goes out of scope.
class OpenedModel {
public:
    explicit OpenedModel(const std::string &text) : status_(Open(text.data(), text.data() + text.size())) {}
    ~OpenedModel() { Close(); }
    OpenedModel(const OpenedModel &) = delete;
    OpenedModel &operator=(const OpenedModel &) = delete;

    std::int32_t status() const { return status_; }
    const ModelClass &model() const { return *CurrentModel(); }
    ModelClass &model() { return *CurrentModel(); }

private:
    std::int32_t status_;
};

} // namespace vantor::model::test
