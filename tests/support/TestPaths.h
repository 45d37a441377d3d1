#pragma once
// Where tests find the repository, the build tree and the shared test data.

#include <QString>

#include <optional>
#include <string>

namespace vantor::test {

QString SourceDir(); // repository root
QString BinaryDir(); // build tree
QString BinDir();    // build tree's bin/ (vantor5, vantor5-tool, plug-ins, model library)

// ../shared/testdata beside the repository (or $VANTOR_TESTDATA); nothing when absent.
std::optional<QString> SharedTestData();

std::string ReadFileOrFail(const QString &path);

} // namespace vantor::test
