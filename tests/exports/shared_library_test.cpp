// The native shared library shows hosts exactly the 26 exports and nothing of its insides.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <fstream>
#include <set>
#include <string>

namespace {

// The names listed in the .def file, which the Windows DLL exports too.
std::set<std::string> definedExports() {
    std::ifstream def(std::string(STROKECAST_SOURCE_DIR) + "/exports/strokecast.def");
    std::set<std::string> names;
    std::string line;
    while (std::getline(def, line)) {
        const auto start = line.find_first_not_of(" \t");
        if (start > 0 && start != std::string::npos) names.insert(line.substr(start));
    }
    return names;
}

}  // namespace

TEST(SharedLibrary, ExportsTheDefinedNamesAndHidesTheRest) {
    const std::set<std::string> names = definedExports();
    ASSERT_EQ(names.size(), 26u);
    void* library = dlopen(STROKECAST_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    for (const std::string& name : names) EXPECT_NE(dlsym(library, name.c_str()), nullptr) << name;
    // Core functions stay inside, and so do the standard templates the core instantiates.
    for (const char* inside : {"_ZN2sc7fnvHashESt17basic_string_viewIDsSt11char_traitsIDsEE",
                               "_ZNSt8__detail18__to_chars_10_implIjEEvPcjT_"})
        EXPECT_EQ(dlsym(library, inside), nullptr) << inside;
    dlclose(library);
}
