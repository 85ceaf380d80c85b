// The native shared library shows hosts exactly the listed exports and nothing of its insides.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdio>
#include <set>
#include <string>

#include "strokecast.h"
#include "tests/support/export_names.h"

namespace {

using sctest::listedExports;

// Every defined dynamic symbol of the library file, as the system's nm lists it.
std::set<std::string> dynamicSymbols(const std::string& file) {
    std::set<std::string> names;
    FILE* nm = ::popen(("nm -D --defined-only --format=posix '" + file + "' 2>/dev/null").c_str(), "r");
    if (nm == nullptr)
        return names;
    char line[1024];
    while (std::fgets(line, sizeof line, nm)) {
        std::string text(line);
        names.insert(text.substr(0, text.find(' ')));
    }
    ::pclose(nm);
    return names;
}

} // namespace

TEST(SharedLibrary, ExportsTheListedNamesAndHidesTheRest) {
    const std::set<std::string> names = listedExports();
    void* library = dlopen(STROKECAST_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    for (const std::string& name : names)
        EXPECT_NE(dlsym(library, name.c_str()), nullptr) << name;
    // Core functions stay inside, and so do the standard templates the core instantiates.
    for (const char* inside : {"_ZN2sc7fnvHashESt17basic_string_viewIDsSt11char_traitsIDsEE",
                               "_ZNSt8__detail18__to_chars_10_implIjEEvPcjT_"})
        EXPECT_EQ(dlsym(library, inside), nullptr) << inside;
    dlclose(library);

    const std::set<std::string> symbols = dynamicSymbols(STROKECAST_LIBRARY);
    ASSERT_FALSE(symbols.empty()) << "nm listed nothing for " << STROKECAST_LIBRARY;
    EXPECT_EQ(symbols, names);
}

TEST(SharedLibrary, ReportsTheProjectVersion) {
    void* library = dlopen(STROKECAST_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto version = reinterpret_cast<StrokecastFn_StrokecastVersion>(dlsym(library, "StrokecastVersion"));
    ASSERT_NE(version, nullptr);
    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_EQ(std::sscanf(STROKECAST_PROJECT_VERSION, "%u.%u.%u", &major, &minor, &patch), 3);
    EXPECT_EQ(version(), major << 16 | minor << 8 | patch);
    EXPECT_EQ(version(), STROKECAST_VERSION_NUMBER);
    EXPECT_STREQ(STROKECAST_VERSION_STRING, STROKECAST_PROJECT_VERSION);
    dlclose(library);
}
