// A test of the exports with both managers on one scratch folder that holds a small default template
// file, and the questions such tests ask the engine.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/fake/fake_state.h"
#include "strokecast.h"
#include "tests/support/temp_folder.h"

namespace sctest {

class EngineFolderTest : public ::testing::Test {
  protected:
    explicit EngineFolderTest(std::u16string defaults) : defaults_(std::move(defaults)) {}
    void SetUp() override {
        platform::fake::resetSystem();
        closeAll();
        dir.writeText("defaults.configure", defaults_);
    }
    void TearDown() override { closeAll(); }
    static void closeAll() {
        CloseGestureManager();
        CloseActionNanager();
    }
    void openAll() const {
        OpenGestureManager((dir.folder() + u"\\defaults.configure").c_str(), dir.folder().c_str());
        OpenActionManager(dir.folder().c_str());
    }
    static std::u16string recognized(const std::vector<uint16_t>& stroke) {
        char16_t name[64] = {};
        return recognizeGesture(stroke.data(), name, 64) > 0 ? std::u16string(name) : u"(none)";
    }
    static std::u16string actionOf(std::u16string_view gesture) {
        char16_t action[256] = {};
        return GetActionOfGesture(std::u16string(gesture).c_str(), action, 256) > 0 ? std::u16string(action)
                                                                                    : u"(none)";
    }

    TempFolder dir;

  private:
    std::u16string defaults_;
};

} // namespace sctest
