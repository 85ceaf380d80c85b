// Sequences of export calls on a few short names, with the files damaged, blocked or replaced by old
// 8-bit ones between calls. A model follows what each result promised: a 1 means the change is stored,
// a 0 that nothing stored changed. After every call the open managers must answer as the model does,
// and at the end both are closed and reopened and must still answer so.
//
// The model keeps two sides per file: what the open manager holds and what the file would give when
// read. Appends and rewrites move the manager's change to the file side as the managers document; a
// reopen reads the file side back.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <unistd.h>
#include <utility>
#include <vector>

#include "apps/custom_action_store.h"
#include "common/utf16.h"
#include "files/textfile.h"
#include "gesture/point_array.h"
#include "platform/fake/fake_state.h"
#include "strokecast.h"

namespace {

namespace fs = std::filesystem;
using Text = std::u16string;
using Records = std::vector<std::pair<Text, Text>>;
using Table = std::map<Text, Text>;
using Switches = std::map<Text, bool>;
using Counts = std::map<Text, int>;

constexpr std::u16string_view kGlobal = u"GLOBAL";
constexpr std::u16string_view kUnbound = u"__NULLACTION_FOUND__";
constexpr std::u16string_view kDefaultName = u"b"; // the one template of the default file

// Gesture names: valid ones, then ones some calls refuse.
constexpr std::array<std::u16string_view, 8> kNames = {
    u"a", u"b", u"ab", u"GLOBAL", u"NULL", u"_NO_GESTURE_FOUND_", u"", u"a,b"};
constexpr std::array<std::u16string_view, 6> kActions = {u"UNDO", u"DESKTOP:\\x", u"METRO:\\y", u"NULL",
                                                         u"",     u"p,q"};
constexpr std::array<std::u16string_view, 6> kCustomKeys = {u"DESKTOP:\\x", u"METRO:\\y", u"k", u"",
                                                            u"k|j",         u"k\nj"};
constexpr std::array<std::u16string_view, 4> kCustomValues = {u"x.exe", u"", u"y!App", u"v|w"};
// Units that junk is made of. None occurs in a name, action or key above, so junk that stays on lines
// of its own can never read as one of them.
constexpr std::u16string_view kJunkUnits(u",|\n\r \t019-#z\u00e9\u0a00\ufeff\xd800\0", 17);

bool storable(std::u16string_view s) {
    return !s.empty() && s.find(u',') == Text::npos && s.find(u'\n') == Text::npos;
}
bool customStorable(std::u16string_view s) {
    return s.find(u'|') == Text::npos && s.find(u'\n') == Text::npos;
}
bool permittedGestureName(std::u16string_view s) {
    return storable(s) && s != u"_NO_GESTURE_FOUND_";
}
bool isJunk(std::u16string_view s) {
    return s.find_first_not_of(kJunkUnits) == Text::npos;
}
bool isName(std::u16string_view s) {
    for (std::u16string_view name : kNames)
        if (s == name)
            return true;
    return false;
}

std::string show(std::u16string_view s) {
    std::string out;
    for (char16_t c : s) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char buf[12];
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
            out += buf;
        }
    }
    return out;
}

Switches switchesOf(const Records& records) {
    Switches s{{Text(kGlobal), false}};
    for (const auto& [key, value] : records) {
        const bool on = value != u"0";
        if (key == kGlobal)
            s[key] = on; // the global entry's last record wins, every other key's first
        else
            s.emplace(key, on);
    }
    return s;
}
Table firstWins(const Records& records) {
    Table t;
    for (const auto& [key, value] : records)
        t.emplace(key, value);
    return t;
}
Records recordsOf(const Table& t) {
    return Records(t.begin(), t.end());
}
Records recordsOf(const Switches& s) {
    Records r;
    for (const auto& [key, on] : s)
        r.emplace_back(key, on ? u"1" : u"0");
    return r;
}

enum File { Gestures, SwitchFile, BindingFile, CustomFile, kFileCount };
constexpr std::array<const char*, kFileCount> kFileNames = {
    "MyGesture.configure", "action.configure_v2", "gestureToAction.configure_v2", "custom_action.configure"};

class Session {
  public:
    explicit Session(FuzzedDataProvider& in) : in_(in) {
        static const fs::path base = [] {
            const fs::path shm = "/dev/shm";
            return (fs::is_directory(shm) ? shm : fs::temp_directory_path()) /
                   ("strokecast-fuzz-" + std::to_string(::getpid()));
        }();
        folder_ = base;
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        std::ofstream(folder_ / "default.configure", std::ios::binary)
            << std::string("b\0,\0001\0000\0,\0001\0000\0,\0009\0000\0,\0009\0000\0\n\0", 26);
        folderText_ = sc::utf16::fromUtf8(folder_.string());
        defaultFile_ = folderText_ + u"/default.configure";
        platform::fake::resetSystem();
    }

    void run() {
        openGestures();
        openActions();
        for (int step = 0; step < 48 && in_.remaining_bytes() > 0; ++step) {
            step_ = step;
            operation();
            checkLive();
        }
        // Whatever happened, both managers now read what the files hold.
        step_ = -1;
        for (int f = 0; f < kFileCount; ++f)
            if (blocked_[f])
                unblock(static_cast<File>(f));
        closeGestures();
        closeActions();
        log("close both, reopen both");
        openGestures();
        openActions();
        checkLive();
        checkCustomFile();
        closeGestures();
        closeActions();
        fs::remove_all(folder_);
    }

  private:
    // ---- the operations ----

    void operation() {
        switch (in_.ConsumeIntegralInRange(0, 11)) {
        case 0:
            addGesture();
            break;
        case 1:
            removeGesture();
            break;
        case 2:
            bind(pick(kNames), pick(kActions));
            break;
        case 3:
            bind(pick(kNames), u"NULL");
            break;
        case 4:
            setSwitch();
            break;
        case 5:
            addCustom();
            break;
        case 6:
            removeCustom();
            break;
        case 7:
            execute();
            break;
        case 8:
            managers();
            break;
        case 9:
            damage();
            break;
        case 10:
            toggleBlock();
            break;
        default:
            downgrade();
            break;
        }
    }

    void addGesture() {
        const std::u16string_view name = pick(kNames);
        std::vector<std::uint16_t> points;
        switch (in_.ConsumeIntegralInRange(0, 3)) {
        case 0:
            points = {10, 10, 60, 60, 110, 10};
            break;
        case 1:
            points = {10, 10, 11, 11}; // the second point lies too close and is dropped
            break;
        case 2:
            points = {5, 0, 40, 0};
            break;
        default:
            for (int n = in_.ConsumeIntegralInRange(0, 6); n > 0; --n) {
                points.push_back(in_.ConsumeIntegralInRange<std::uint16_t>(1, 300));
                points.push_back(in_.ConsumeIntegral<std::uint16_t>());
            }
            break;
        }
        points.push_back(0);
        const Text n(name);
        const int result = AddOneGesture(n.c_str(), points.data());
        log("AddOneGesture(" + show(name) + ", " + std::to_string(points.size() / 2) +
            " points) = " + std::to_string(result));
        const bool valid = gesturesOpen_ && permittedGestureName(name) &&
                           sc::readSpacedPointArray(points.data()).size() >= 2;
        if (!valid) {
            expect(result == 0, "a refused gesture was reported as added");
            return;
        }
        const bool writes = !blocked_[Gestures];
        expect(result == (writes ? 1 : 0), "AddOneGesture's result");
        if (result == 1) {
            ++gestures_[n];
            ++gesturesOnDisk_[n];
        }
    }

    void removeGesture() {
        const Text n(pick(kNames));
        const int result = RemoveOneGesture(n.c_str());
        log("RemoveOneGesture(" + show(n) + ") = " + std::to_string(result));
        if (!gesturesOpen_ || !actionsOpen_ || gestures_[n] == 0) {
            expect(result == 0, "RemoveOneGesture without a user template");
            return;
        }
        const bool writes = !blocked_[Gestures] && !blocked_[SwitchFile] && !blocked_[BindingFile];
        expect(result == (writes ? 1 : 0), "RemoveOneGesture's result");
        if (result == 1) {
            --gestures_[n];
            gesturesOnDisk_ = gestures_;
            dropFromTables(n);
        }
    }

    void bind(std::u16string_view gesture, std::u16string_view action) {
        const Text g(gesture), a(action);
        const int result = SetGestureToAction(g.c_str(), a.c_str());
        log("SetGestureToAction(" + show(gesture) + ", " + show(action) + ") = " + std::to_string(result));
        if (!actionsOpen_ || !storable(gesture) || !storable(action)) {
            expect(result == 0, "a refused binding was reported as stored");
            return;
        }
        if (action == u"NULL") {
            expect(result == (!blocked_[SwitchFile] && !blocked_[BindingFile] ? 1 : 0), "unbinding's result");
            if (result == 1)
                dropFromTables(g);
            return;
        }
        const auto it = bindings_.find(g);
        if (it == bindings_.end()) {
            const bool newSwitch = switches_.find(g) == switches_.end();
            expect(result == (!blocked_[BindingFile] && !(newSwitch && blocked_[SwitchFile]) ? 1 : 0),
                   "a new binding's result");
            if (result == 1) {
                bindings_[g] = a;
                bindingsOnDisk_.emplace_back(g, a);
                if (newSwitch) {
                    switches_[g] = true;
                    switchesOnDisk_.emplace_back(g, u"1");
                }
            }
            return;
        }
        if (it->second == a) {
            expect(result == 1, "binding to the same action again");
            return;
        }
        expect(result == (blocked_[BindingFile] ? 0 : 1), "a changed binding's result");
        if (result == 1) {
            const Text old = std::exchange(it->second, a);
            bindingsOnDisk_ = recordsOf(bindings_);
            releaseIfUnbound(old);
        }
    }

    void setSwitch() {
        const std::u16string_view gesture = pick(kNames);
        const std::int32_t value = in_.PickValueInArray({0, 1, 2, -1});
        const Text g(gesture);
        const int result = SetGestureSwitch(g.c_str(), value);
        log("SetGestureSwitch(" + show(gesture) + ", " + std::to_string(value) +
            ") = " + std::to_string(result));
        if (!actionsOpen_ || !storable(gesture)) {
            expect(result == 0, "a refused switch was reported as stored");
            return;
        }
        expect(result == (blocked_[SwitchFile] ? 0 : 1), "SetGestureSwitch's result");
        if (result != 1)
            return;
        const bool known = switches_.find(g) != switches_.end();
        switches_[g] = value == 1;
        if (known)
            switchesOnDisk_ = recordsOf(switches_);
        else
            switchesOnDisk_.emplace_back(g, value == 1 ? u"1" : u"0");
    }

    void addCustom() {
        const Text key(pick(kCustomKeys)), value(pick(kCustomValues));
        const int result = AddCustomAction(key.c_str(), value.c_str());
        log("AddCustomAction(" + show(key) + ", " + show(value) + ") = " + std::to_string(result));
        if (!actionsOpen_ || key.empty() || !customStorable(key) || !customStorable(value)) {
            expect(result == 0, "a refused custom action was reported as stored");
            return;
        }
        if (customs_.count(key) != 0) {
            expect(result == 1, "a custom action already stored");
            return;
        }
        expect(result == (blocked_[CustomFile] ? 0 : 1), "AddCustomAction's result");
        if (result == 1) {
            customs_[key] = value;
            customsOnDisk_ = recordsOf(customs_);
        }
    }

    void removeCustom() {
        const Text key(pick(kCustomKeys));
        const int result = RemoveOneCustomAction(key.c_str());
        log("RemoveOneCustomAction(" + show(key) + ") = " + std::to_string(result));
        if (!actionsOpen_ || bound(key)) {
            expect(result == 0, "removing a custom action that is closed or bound");
            return;
        }
        if (customs_.count(key) == 0) {
            expect(result == 1, "removing a custom action that is not there");
            return;
        }
        expect(result == (blocked_[CustomFile] ? 0 : 1), "RemoveOneCustomAction's result");
        if (result == 1) {
            customs_.erase(key);
            customsOnDisk_ = recordsOf(customs_);
        }
    }

    void execute() {
        const Text g(pick(kNames));
        const int result = ExecuteAction(g.c_str());
        log("ExecuteAction(" + show(g) + ") = " + std::to_string(result));
        const auto own = switches_.find(g);
        const bool allowed = actionsOpen_ && !switches_.at(Text(kGlobal)) && own != switches_.end() &&
                             own->second && bindings_.count(g) != 0;
        if (!allowed)
            expect(result == 0, "an action ran that is unbound, switched off or globally off");
    }

    // Even choices are the gesture manager, odd ones the action manager; the first two reopen it, the
    // others open it when closed and close it when open.
    void managers() {
        const int choice = in_.ConsumeIntegralInRange(0, 3);
        const bool gestures = choice % 2 == 0;
        const bool reopen = choice < 2;
        const bool wasOpen = gestures ? gesturesOpen_ : actionsOpen_;
        if (reopen || wasOpen)
            gestures ? closeGestures() : closeActions();
        if (reopen || !wasOpen)
            gestures ? openGestures() : openActions();
        const char* done = reopen ? "reopen" : (wasOpen ? "close" : "open");
        log(std::string(done) + " the " + (gestures ? "gesture" : "action") + " manager");
    }

    // Changes a file behind the managers' backs, as another program or a crash might.
    void damage() {
        const File f = static_cast<File>(in_.ConsumeIntegralInRange(0, kFileCount - 1));
        if (downgraded_ && (f == SwitchFile || f == BindingFile))
            return;
        const fs::path path = contentPath(f);
        switch (in_.ConsumeIntegralInRange(0, 5)) {
        case 0: { // junk lines that can never read as one of the names
            Text junk;
            for (int n = in_.ConsumeIntegralInRange(1, 8); n > 0; --n)
                junk += kJunkUnits[in_.ConsumeIntegralInRange<std::size_t>(0, kJunkUnits.size() - 1)];
            appendLines(path, junk);
            log(std::string("append junk \"") + show(junk) + "\" to " + kFileNames[f]);
            break;
        }
        case 1:
            handWritten(f, path);
            break;
        case 2:
            fs::remove(path);
            log(std::string("delete ") + kFileNames[f]);
            clearOnDisk(f);
            break;
        case 3: { // a last line without its line feed
            std::string bytes = readBytes(path);
            if (bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, std::string("\n\0", 2)) == 0) {
                bytes.resize(bytes.size() - 2);
                writeBytes(path, bytes);
                log(std::string("drop the final line feed of ") + kFileNames[f]);
            }
            break;
        }
        case 4: // a stray byte at the end; a second would make a whole unit, glued to the last line
            if (readBytes(path).size() % 2 == 1)
                break;
            appendBytes(path, std::string(1, 'z'));
            log(std::string("append one byte to ") + kFileNames[f]);
            break;
        default: { // a byte-order mark in front, as an editor saving the file writes one
            const std::string bytes = readBytes(path);
            if (bytes.compare(0, 2, "\xFF\xFE") == 0)
                break;
            writeBytes(path, std::string("\xFF\xFE", 2) + bytes);
            log(std::string("put a byte-order mark in front of ") + kFileNames[f]);
            break;
        }
        }
    }

    // A well-formed record for one of the names, as another process sharing the folder writes it.
    void handWritten(File f, const fs::path& path) {
        Text line;
        switch (f) {
        case Gestures: {
            const Text name(pick({u"a", u"b", u"ab", u"NULL"}));
            const bool withPoints = in_.ConsumeBool();
            line = name + (withPoints ? u",1,2,30,40\n" : u",\n");
            ++gesturesOnDisk_[name];
            break;
        }
        case SwitchFile: {
            const Text name(pick({u"a", u"ab", u"GLOBAL", u"NULL"}));
            const Text value = in_.ConsumeBool() ? u"1" : u"0";
            line = name + u"," + value + u"\n";
            switchesOnDisk_.emplace_back(name, value);
            break;
        }
        case BindingFile: {
            const Text name(pick({u"a", u"ab", u"GLOBAL", u"NULL"}));
            const Text action(pick({u"UNDO", u"DESKTOP:\\x"}));
            line = name + u"," + action + u"\n";
            bindingsOnDisk_.emplace_back(name, action);
            break;
        }
        default: {
            const Text key(pick({u"DESKTOP:\\x", u"k"}));
            line = key + u"|hand.exe\n";
            customsOnDisk_.emplace_back(key, u"hand.exe");
            break;
        }
        }
        appendLines(path, line);
        log(std::string("append \"") + show(line) + "\" to " + kFileNames[f]);
    }

    // A directory in the file's place makes every read and write of it fail; its content waits aside.
    void toggleBlock() {
        const File f = static_cast<File>(in_.ConsumeIntegralInRange(0, kFileCount - 1));
        if (blocked_[f]) {
            unblock(f);
            return;
        }
        if (downgraded_ && (f == SwitchFile || f == BindingFile))
            return;
        const fs::path path = folder_ / kFileNames[f];
        if (fs::exists(path))
            fs::rename(path, stash(f));
        fs::create_directory(path);
        blocked_[f] = true;
        log(std::string("block ") + kFileNames[f]);
    }

    void unblock(File f) {
        const fs::path path = folder_ / kFileNames[f];
        fs::remove_all(path);
        if (fs::exists(stash(f)))
            fs::rename(stash(f), path);
        blocked_[f] = false;
        log(std::string("unblock ") + kFileNames[f]);
    }

    // Replaces both action files by old 8-bit ones with the same records, for the next open to convert.
    void downgrade() {
        if (actionsOpen_ || downgraded_ || blocked_[SwitchFile] || blocked_[BindingFile])
            return;
        const bool crlf = in_.ConsumeBool();
        const bool lastEnded = in_.ConsumeBool();
        auto oldFile = [&](File f, const Records& records) {
            std::string bytes;
            for (const auto& [key, value] : records) {
                if (!bytes.empty())
                    bytes += crlf ? "\r\n" : "\n";
                bytes += sc::utf16::toUtf8(key) + "," + sc::utf16::toUtf8(value);
            }
            if (lastEnded && !bytes.empty())
                bytes += crlf ? "\r\n" : "\n";
            const std::string name = kFileNames[f];
            writeBytes(folder_ / name.substr(0, name.size() - 3), bytes);
            fs::remove(folder_ / name);
        };
        switchesOnDisk_ = recordsOf(switchesOf(switchesOnDisk_));
        bindingsOnDisk_ = recordsOf(firstWins(bindingsOnDisk_));
        oldFile(SwitchFile, switchesOnDisk_);
        oldFile(BindingFile, bindingsOnDisk_);
        downgraded_ = true;
        log("replace both action files by old 8-bit ones");
    }

    // ---- the model's bookkeeping ----

    // "NULL" and removing a gesture drop it from both tables and rewrite both files; the global
    // switch is not the gesture's to drop.
    void dropFromTables(const Text& g) {
        const auto it = bindings_.find(g);
        Text old;
        const bool wasBound = it != bindings_.end();
        if (wasBound) {
            old = it->second;
            bindings_.erase(it);
        }
        if (g != kGlobal)
            switches_.erase(g);
        switchesOnDisk_ = recordsOf(switches_);
        bindingsOnDisk_ = recordsOf(bindings_);
        if (wasBound)
            releaseIfUnbound(old);
    }

    // A custom action that no binding names any more goes with its last binding, when its file takes it.
    void releaseIfUnbound(const Text& action) {
        if (bound(action) || customs_.count(action) == 0 || blocked_[CustomFile])
            return;
        customs_.erase(action);
        customsOnDisk_ = recordsOf(customs_);
    }

    bool bound(const Text& action) const {
        for (const auto& [gesture, bound] : bindings_)
            if (bound == action)
                return true;
        return false;
    }

    void clearOnDisk(File f) {
        switch (f) {
        case Gestures:
            gesturesOnDisk_.clear();
            break;
        case SwitchFile:
            switchesOnDisk_.clear();
            break;
        case BindingFile:
            bindingsOnDisk_.clear();
            break;
        default:
            customsOnDisk_.clear();
            break;
        }
    }

    void openGestures() {
        if (gesturesOpen_)
            return;
        OpenGestureManager(defaultFile_.c_str(), folderText_.c_str());
        gesturesOpen_ = true;
        gestures_.clear();
        if (!blocked_[Gestures])
            gestures_ = gesturesOnDisk_;
    }
    void closeGestures() {
        CloseGestureManager();
        gesturesOpen_ = false;
        gestures_.clear();
    }
    void openActions() {
        if (actionsOpen_)
            return;
        OpenActionManager(folderText_.c_str());
        actionsOpen_ = true;
        downgraded_ = false;
        switches_ = switchesOf(blocked_[SwitchFile] ? Records() : switchesOnDisk_);
        bindings_ = firstWins(blocked_[BindingFile] ? Records() : bindingsOnDisk_);
        customs_ = firstWins(blocked_[CustomFile] ? Records() : customsOnDisk_);
    }
    void closeActions() {
        CloseActionNanager();
        actionsOpen_ = false;
        switches_ = switchesOf({});
        bindings_.clear();
        customs_.clear();
    }

    // ---- the checks ----

    void checkLive() {
        // Kept across calls: fresh buffers of this size a few hundred times per input cost more than the
        // calls they serve.
        static std::vector<char16_t> buffer(1 << 14);
        static std::vector<std::uint16_t> track(4096);
        for (std::u16string_view name : kNames) {
            if (!storable(name))
                continue;
            const Text n(name);
            const int length = GetActionOfGesture(n.c_str(), buffer.data(), 64);
            const int on = GetGestureSwitch(n.c_str());
            if (!actionsOpen_) {
                expect(length == 0 && on == 0, "a closed action manager answered");
            } else {
                const auto it = bindings_.find(n);
                const Text expected = it == bindings_.end() ? Text(kUnbound) : it->second;
                expect(length > 0 && Text(buffer.data()) == expected,
                       "binding of " + show(name) + " is \"" + show(length > 0 ? buffer.data() : u"") +
                           "\", expected \"" + show(expected) + "\"");
                const auto s = switches_.find(n);
                const bool expectedOn = s != switches_.end() && s->second;
                expect(on == (expectedOn ? 1 : 0), "switch of " + show(name) + " is " + std::to_string(on));
            }
        }

        const int length = GetAllGestures(buffer.data(), static_cast<std::uint32_t>(buffer.size()));
        if (!gesturesOpen_) {
            expect(length == 0, "a closed gesture manager listed gestures");
            return;
        }
        expect(length > 0, "GetAllGestures gave nothing");
        std::map<Text, bool> listed;
        for (std::u16string_view name : sc::utf16::tokens(buffer.data(), u','))
            listed[Text(name)] = true;
        for (const auto& [name, present] : listed)
            expect(isJunk(name) || isName(name), "an unexpected gesture \"" + show(name) + "\" is listed");
        for (std::u16string_view name : kNames) {
            if (!permittedGestureName(name))
                continue;
            const Text n(name);
            const auto count = gestures_.find(n);
            const bool visible = name == kDefaultName || (count != gestures_.end() && count->second > 0);
            expect(listed.count(n) == (visible ? 1u : 0u),
                   "gesture " + show(name) + (visible ? " is missing" : " is listed"));
            expect(CheckNameExist(n.c_str()) == (visible ? 1 : 0), "CheckNameExist for " + show(name));
            expect(GetGestureTrack(n.c_str(), track.data(), static_cast<std::uint32_t>(track.size())) ==
                       (visible ? 1 : 0),
                   "GetGestureTrack for " + show(name));
        }
    }

    // The custom actions have no reading export; after the final reopen the file must hold the model's.
    void checkCustomFile() {
        // Read as the engine reads it, a byte-order mark skipped.
        std::u16string text;
        sc::textfile::read(sc::utf16::fromUtf8((folder_ / kFileNames[CustomFile]).string()), text);
        const auto entries = sc::parseCustomActions(text);
        const Table expected = firstWins(customsOnDisk_);
        for (std::u16string_view key : kCustomKeys) {
            if (key.empty() || !customStorable(key))
                continue;
            const Text k(key);
            const auto e = expected.find(k);
            const auto it = entries.find(key);
            expect((it == entries.end()) == (e == expected.end()) &&
                       (e == expected.end() || it->second == e->second),
                   "custom action " + show(key) + " on disk differs from what was stored");
        }
    }

    void expect(bool ok, const std::string& what) {
        if (ok)
            return;
        if (step_ < 0)
            std::fprintf(stderr, "operations_fuzz: after the final reopen: %s\n", what.c_str());
        else
            std::fprintf(stderr, "operations_fuzz: at step %d: %s\n", step_, what.c_str());
        for (const std::string& line : log_)
            std::fprintf(stderr, "  %s\n", line.c_str());
        std::abort();
    }

    void log(std::string line) { log_.push_back(std::move(line)); }

    // ---- files ----

    fs::path stash(File f) const { return folder_ / (std::string(kFileNames[f]) + ".aside"); }
    fs::path contentPath(File f) const { return blocked_[f] ? stash(f) : folder_ / kFileNames[f]; }

    static std::string readBytes(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void writeBytes(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    // Another program's lines start on a line of their own: gluing them onto the record before would
    // change that record, which no reader can undo.
    static void appendLines(const fs::path& path, Text lines) {
        std::string before = readBytes(path);
        if (before.size() % 2 == 1) { // and it writes whole units, after a stray byte too
            before.pop_back();
            writeBytes(path, before);
        }
        if (before.size() >= 2 && before.size() % 2 == 0 &&
            before.compare(before.size() - 2, 2, std::string("\n\0", 2)) != 0)
            lines.insert(lines.begin(), u'\n');
        appendBytes(path, sc::utf16::toBytes(lines));
    }

    static void appendBytes(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
    }

    template <class T, std::size_t N> T pick(const std::array<T, N>& choices) {
        return in_.PickValueInArray(choices);
    }
    std::u16string_view pick(std::initializer_list<std::u16string_view> choices) {
        return choices.begin()[in_.ConsumeIntegralInRange<std::size_t>(0, choices.size() - 1)];
    }

    FuzzedDataProvider& in_;
    fs::path folder_;
    Text folderText_;
    Text defaultFile_;
    int step_ = -1;
    std::vector<std::string> log_;

    bool gesturesOpen_ = false;
    bool actionsOpen_ = false;
    bool downgraded_ = false;
    std::array<bool, kFileCount> blocked_{};

    Counts gestures_, gesturesOnDisk_;
    Switches switches_ = switchesOf({});
    Records switchesOnDisk_;
    Table bindings_;
    Records bindingsOnDisk_;
    Table customs_;
    Records customsOnDisk_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    Session(in).run();
    return 0;
}
