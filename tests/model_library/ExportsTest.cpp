// libvantor_model.so as its callers see it: the exported symbols, and the C interface
// loaded with dlopen and bound by name (never linked: its open/close would replace the
// C library's).
#define VANTOR_MODEL_NO_PROTOTYPES
#include "model_library/vantor_model.h"

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

// Names of the symbols a shared library defines and exports (its dynamic symbol
// table, as the dynamic linker sees it).
std::set<std::string> ExportedSymbols(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    const std::string image = buffer.str();
    std::set<std::string> names;
    if (image.size() < sizeof(Elf64_Ehdr) || std::memcmp(image.data(), ELFMAG, SELFMAG) != 0 ||
        image[EI_CLASS] != ELFCLASS64) {
        ADD_FAILURE() << path << " is not a 64-bit ELF file";
        return names;
    }
    const auto *header = reinterpret_cast<const Elf64_Ehdr *>(image.data());
    const auto *sections = reinterpret_cast<const Elf64_Shdr *>(image.data() + header->e_shoff);
    for (int i = 0; i < header->e_shnum; ++i) {
        if (sections[i].sh_type != SHT_DYNSYM)
            continue;
        const Elf64_Shdr &strings = sections[sections[i].sh_link];
        const auto *symbols = reinterpret_cast<const Elf64_Sym *>(image.data() + sections[i].sh_offset);
        const std::size_t count = sections[i].sh_size / sizeof(Elf64_Sym);
        for (std::size_t k = 0; k < count; ++k) {
            const Elf64_Sym &symbol = symbols[k];
            const int bind = ELF64_ST_BIND(symbol.st_info);
            if (symbol.st_shndx == SHN_UNDEF || (bind != STB_GLOBAL && bind != STB_WEAK) ||
                ELF64_ST_VISIBILITY(symbol.st_other) != STV_DEFAULT)
                continue;
            names.insert(image.data() + strings.sh_offset + symbol.st_name);
        }
    }
    return names;
}

TEST(ModelExports, OnlyTheCInterfaceIsExported)
{
    EXPECT_EQ(ExportedSymbols(VANTOR_MODEL_SO), (std::set<std::string>{"close", "next", "nextAll", "open"}));
}

class ModelSharedLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        handle_ = dlopen(VANTOR_MODEL_SO, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
        open_ = reinterpret_cast<VantorModelOpenFn>(dlsym(handle_, "open"));
        close_ = reinterpret_cast<VantorModelCloseFn>(dlsym(handle_, "close"));
        next_ = reinterpret_cast<VantorModelNextFn>(dlsym(handle_, "next"));
        nextAll_ = reinterpret_cast<VantorModelNextAllFn>(dlsym(handle_, "nextAll"));
        ASSERT_NE(open_, nullptr);
        ASSERT_NE(close_, nullptr);
        ASSERT_NE(next_, nullptr);
        ASSERT_NE(nextAll_, nullptr);
    }
    void TearDown() override
    {
        if (handle_)
            dlclose(handle_);
    }

    void *handle_ = nullptr;
    VantorModelOpenFn open_ = nullptr;
    VantorModelCloseFn close_ = nullptr;
    VantorModelNextFn next_ = nullptr;
    VantorModelNextAllFn nextAll_ = nullptr;
};

TEST_F(ModelSharedLibrary, OpenAndClose)
{
    const std::string text =
        R"({"ver":1,"promtacts":[],"triggers":[],"dirs":{"at":[{}]},"sig_group_types":[],)"
        R"("sig_groups":[],"sos":[{"dirs":[1]}]})";
    EXPECT_EQ(close_(), VANTOR_MODEL_NO_MODEL);
    EXPECT_EQ(open_(text.data(), text.data() + text.size() - 1), VANTOR_MODEL_OK); // last = closing brace
    EXPECT_EQ(open_(text.data(), text.data() + text.size()), VANTOR_MODEL_OK);     // one past it
    EXPECT_EQ(close_(), VANTOR_MODEL_OK);
    EXPECT_EQ(close_(), VANTOR_MODEL_NO_MODEL);
    EXPECT_EQ(open_(nullptr, nullptr), VANTOR_MODEL_BAD_VERSION);
    const std::string noSos =
        R"({"ver":1,"promtacts":[],"triggers":[],"dirs":{},"sig_group_types":[],"sig_groups":[]})";
    EXPECT_EQ(open_(noSos.data(), noSos.data() + noSos.size() - 1), VANTOR_MODEL_NO_SOS);
    EXPECT_EQ(close_(), VANTOR_MODEL_OK);
}

TEST_F(ModelSharedLibrary, StepThroughTheCInterface)
{
    // One direction in phase 1 (green) after 2 s of red and 1 s of red and yellow; a
    // trigger cleared once the direction is green; a group lit by green.
    const std::string text =
        R"({"ver":1,"promtacts":[{"tacts":[{"sec":1,"val":6}]}],)"
        R"("triggers":[{"args":[],"res":{"src":11,"args":[1]}}],)"
        R"("dirs":{"TminR":2,"at":[{"R2G":1}]},"sig_group_types":[{"in_length":1,"out":[7],)"
        R"("states":[{"in":[2],"out":[1]}]}],"sig_groups":[{"ti":1,"dirs":[1]}],)"
        R"("sos":[{"dirs":[1],"enter":["phase",1],"phases":[{"i":1,"m":[[2]]}]}]})";
    std::uint8_t trig = 1, phase = 0, state = 0, group = 0, cycle = 9, day = 9, week = 9, year = 9;
    std::uint8_t *groups[] = {&group};
    EXPECT_EQ(next_(0, 0, &trig, &phase, &state), VANTOR_MODEL_NO_MODEL);
    ASSERT_EQ(open_(text.data(), text.data() + text.size() - 1), VANTOR_MODEL_OK);
    EXPECT_EQ(next_(1, 0, &trig, &phase, &state), VANTOR_MODEL_BAD_SIGNAL_OBJECT);
    EXPECT_EQ(next_(0, 0, &trig, &phase, &state), VANTOR_MODEL_OK);
    EXPECT_EQ(phase, 1);
    EXPECT_EQ(state, 1); // red first
    const struct {
        std::uint8_t state, group, trig;
    } seconds[] = {{1, 7, 1}, {6, 7, 1}, {2, 1, 0}}; // red, red and yellow, green
    for (const auto &second : seconds) {
        trig = 1;
        ASSERT_EQ(nextAll_(0, &trig, &phase, &cycle, &day, &week, &year, &state, groups), VANTOR_MODEL_OK);
        EXPECT_EQ(state, second.state);
        EXPECT_EQ(group, second.group) << int(second.state);
        EXPECT_EQ(trig, second.trig) << int(second.state); // set until the step green begins
    }
    EXPECT_EQ(cycle, 0);
    EXPECT_EQ(close_(), VANTOR_MODEL_OK);
    EXPECT_EQ(nextAll_(0, &trig, &phase, &cycle, &day, &week, &year, &state, groups), VANTOR_MODEL_NO_MODEL);
}

TEST_F(ModelSharedLibrary, LoadingKeepsTheCLibrarysOpenAndClose)
{
    // Loaded with local scope, the library's open/close stay out of the global lookup.
    EXPECT_NE(dlsym(RTLD_DEFAULT, "open"), reinterpret_cast<void *>(open_));
    EXPECT_NE(dlsym(RTLD_DEFAULT, "close"), reinterpret_cast<void *>(close_));
    char path[] = "/tmp/vantor-model-io-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "ok", 2), 2);
    ASSERT_EQ(::close(fd), 0);
    const int again = ::open(path, O_RDONLY);
    ASSERT_GE(again, 0);
    char bytes[2] = {};
    EXPECT_EQ(::read(again, bytes, 2), 2);
    EXPECT_EQ(std::string(bytes, 2), "ok");
    EXPECT_EQ(::close(again), 0);
    std::remove(path);
}

} // namespace
