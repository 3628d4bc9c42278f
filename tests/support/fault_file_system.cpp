// platform/file_system.h on an in-memory tree, with injectable faults and
// crash points; the model is described in fault_file_system.h.
#include "support/fault_file_system.h"

#include "platform/file_system.h"

#include <map>
#include <set>

namespace quillpane::testing::faultfs {
namespace {

struct Node {
    std::string data;     // what the process reads
    std::string durable;  // what a power cut leaves
    bool dirty = false;
    std::uint64_t writeTime = 0;
};

struct Fault {
    Op op;
    int n;
    bool sticky;
};

struct State {
    std::map<std::u16string, Node> files;
    std::set<std::u16string> folders;
    std::vector<Fault> faults;
    std::array<int, kAllOps.size()> calls {};
    int steps = 0;
    int crashAfter = 0;
    bool crashed = false;
    std::uint64_t clock = 0;
};

State& S() {
    static State state;
    return state;
}

std::u16string Normal(std::u16string_view path) {
    std::u16string out(path);
    for (char16_t& c : out) {
        if (c == u'\\') c = u'/';
    }
    while (out.size() > 1 && out.back() == u'/') out.pop_back();
    return out;
}

std::u16string ParentOf(const std::u16string& normal) {
    const std::size_t slash = normal.rfind(u'/');
    return slash == std::u16string::npos || slash == 0 ? u"/" : normal.substr(0, slash);
}

bool FolderExists(const std::u16string& normal) {
    return normal == u"/" || S().folders.contains(normal);
}

// Counts one step; true when it is to fail.
bool Begin(Op op) {
    State& s = S();
    if (s.crashed) throw Crash {};
    ++s.steps;
    const int count = ++s.calls[static_cast<std::size_t>(op)];
    for (const Fault& fault : s.faults) {
        if (fault.op == op && (count == fault.n || (fault.sticky && count > fault.n))) return true;
    }
    return false;
}

// After the step's effect: the crash point.
void End() {
    State& s = S();
    if (s.crashAfter != 0 && s.steps == s.crashAfter) {
        s.crashed = true;
        throw Crash {};
    }
}

template <class Body>
auto Step(Op op, Body&& body) {
    const bool fail = Begin(op);
    auto result = body(fail);
    End();
    return result;
}

void Touch(Node& node, std::string data) {
    node.data = std::move(data);
    node.dirty = true;
    node.writeTime = ++S().clock;
}

// Open for writing: create, or truncate unless exclusive.
bool OpenForWrite(const std::u16string& path, bool exclusive) {
    return Step(Op::Open, [&](bool fail) {
        if (fail || !FolderExists(ParentOf(path)) || FolderExists(path)) return false;
        const auto found = S().files.find(path);
        if (found != S().files.end()) {
            if (exclusive) return false;
            Touch(found->second, {});
        } else {
            Touch(S().files[path], {});
        }
        return true;
    });
}

// A failed write leaves the first half, as a full disk does.
bool WriteBytes(const std::u16string& path, std::string_view bytes, Op op = Op::Write) {
    return Step(op, [&](bool fail) {
        Node& node = S().files[path];
        Touch(node, std::string(fail ? bytes.substr(0, bytes.size() / 2) : bytes));
        return !fail;
    });
}

bool Flush(const std::u16string& path) {
    return Step(Op::Flush, [&](bool fail) {
        if (fail) return false;
        Node& node = S().files[path];
        node.durable = node.data;
        node.dirty = false;
        return true;
    });
}

bool Close() {
    return Step(Op::Close, [](bool fail) { return !fail; });
}

bool Remove(const std::u16string& path) {
    return Step(Op::Delete, [&](bool fail) { return !fail && S().files.erase(path) == 1; });
}

bool Rename(const std::u16string& from, const std::u16string& to) {
    return Step(Op::Rename, [&](bool fail) {
        auto source = S().files.find(from);
        if (fail || source == S().files.end() || FolderExists(to) || !FolderExists(ParentOf(to))) return false;
        Node moved = std::move(source->second);
        S().files.erase(source);
        S().files[to] = std::move(moved);
        return true;
    });
}


}  // namespace

std::string_view OpName(Op op) {
    constexpr std::array<std::string_view, kAllOps.size()> kNames = {
        "open", "read", "write", "flush", "close", "rename", "delete", "attributes", "list", "copy", "mkdir"};
    return kNames[static_cast<std::size_t>(op)];
}

std::string_view LossName(Loss loss) {
    switch (loss) {
    case Loss::None: return "process crash";
    case Loss::Revert: return "power cut (unflushed data reverted)";
    case Loss::ZeroFill: return "power cut (unflushed data zero-filled)";
    }
    return "?";
}

void Reset() {
    S() = State {};
}

void FailAt(Op op, int n, bool sticky) {
    S().faults.push_back({op, n, sticky});
}

void CrashAfter(int n) {
    S().crashAfter = n;
}

void Restart(Loss loss) {
    State& s = S();
    for (auto& [path, node] : s.files) {
        if (!node.dirty || loss == Loss::None) continue;
        node.data = loss == Loss::Revert ? node.durable : std::string(node.data.size(), '\0');
    }
    for (auto& [path, node] : s.files) {
        node.durable = node.data;
        node.dirty = false;
    }
    s.faults.clear();
    s.calls = {};
    s.steps = 0;
    s.crashAfter = 0;
    s.crashed = false;
}

int Calls(Op op) {
    return S().calls[static_cast<std::size_t>(op)];
}

int Steps() {
    return S().steps;
}

void MakeFolders(std::u16string_view path) {
    const std::u16string normal = Normal(path);
    for (std::size_t i = 1; i <= normal.size(); ++i) {
        if (i == normal.size() || normal[i] == u'/') S().folders.insert(normal.substr(0, i));
    }
}

void PutFile(std::u16string_view path, std::string_view bytes) {
    Node& node = S().files[Normal(path)];
    node.data = node.durable = std::string(bytes);
    node.dirty = false;
    node.writeTime = ++S().clock;
}

std::optional<std::string> Content(std::u16string_view path) {
    const auto found = S().files.find(Normal(path));
    if (found == S().files.end()) return std::nullopt;
    return found->second.data;
}

std::vector<std::u16string> FilesUnder(std::u16string_view folder) {
    std::u16string prefix = Normal(folder);
    if (prefix.back() != u'/') prefix.push_back(u'/');
    std::vector<std::u16string> paths;
    for (const auto& [path, node] : S().files) {
        if (path.starts_with(prefix)) paths.push_back(path);
    }
    return paths;
}

}  // namespace quillpane::testing::faultfs

namespace quillpane::platform {

using namespace quillpane::testing::faultfs;

ReadResult ReadWholeFile(std::u16string_view path, std::uint64_t maxBytes, ReadSharing) {
    const std::u16string normal = Normal(path);
    ReadResult result;
    const bool opened = Step(Op::Open, [&](bool fail) {
        if (fail) {
            result.status = ReadStatus::OpenFailed;
            return false;
        }
        if (!S().files.contains(normal)) {
            result.status = FolderExists(normal) ? ReadStatus::ReadFailed : ReadStatus::NotFound;
            return false;
        }
        return true;
    });
    if (!opened) return result;
    Step(Op::Read, [&](bool fail) {
        const Node& node = S().files[normal];
        const std::string& data = node.data;
        result.lastWriteTime = node.writeTime;
        if (fail) {
            result.status = ReadStatus::ReadFailed;
        } else if (data.size() > maxBytes) {
            result.status = ReadStatus::TooLarge;
        } else {
            result.status = ReadStatus::Ok;
            result.bytes = data;
        }
        return 0;
    });
    return result;
}

bool WriteFileAtomic(std::u16string_view path, std::string_view bytes, bool flush, std::uint64_t* writeTime) {
    const std::u16string target = Normal(path);
    const std::u16string temp = target + u".tmp";
    if (!OpenForWrite(temp, false)) return false;
    bool ok = WriteBytes(temp, bytes);
    if (ok && flush) ok = Flush(temp);
    if (ok && writeTime != nullptr) *writeTime = S().files[temp].writeTime;
    ok = Close() && ok;
    if (ok) ok = Rename(temp, target);
    if (!ok) (void)Remove(temp);
    return ok;
}

bool CreateNewFile(std::u16string_view path, std::string_view bytes, bool flush) {
    const std::u16string target = Normal(path);
    if (!OpenForWrite(target, true)) return false;
    bool ok = WriteBytes(target, bytes);
    if (ok && flush) ok = Flush(target);
    if (!Close() || !ok) {
        (void)Remove(target);
        return false;
    }
    return true;
}

bool WriteWholeFile(std::u16string_view path, std::string_view bytes) {
    const std::u16string target = Normal(path);
    if (!OpenForWrite(target, false)) return false;
    const bool ok = WriteBytes(target, bytes);
    return Close() && ok;
}

// As the real copies: open the source, create the target, move the bytes (a
// failure leaves part of them), flush, close; a failure removes the target.
bool CopyFile(std::u16string_view from, std::u16string_view to, bool mustBeNew) {
    const std::u16string source = Normal(from);
    const std::u16string target = Normal(to);
    const bool opened = Step(Op::Open, [&](bool fail) { return !fail && S().files.contains(source); });
    if (!opened || !OpenForWrite(target, mustBeNew)) return false;
    const std::string bytes = S().files[source].data;
    bool ok = WriteBytes(target, bytes, Op::Copy);
    if (ok) ok = Flush(target);
    if (!Close() || !ok) {
        (void)Remove(target);
        return false;
    }
    return true;
}

bool CopyFileReplacing(std::u16string_view from, std::u16string_view to) {
    return CopyFile(from, to, false);
}

bool CopyFileNew(std::u16string_view from, std::u16string_view to) {
    return CopyFile(from, to, true);
}

bool MakeWritable(std::u16string_view path) {
    const std::u16string normal = Normal(path);
    return Step(Op::Attributes, [&](bool fail) { return !fail && S().files.contains(normal); });
}

std::optional<std::u16string> FinalPathOf(std::u16string_view path) {
    const std::u16string normal = Normal(path);
    return Step(Op::Attributes, [&](bool fail) -> std::optional<std::u16string> {
        if (fail || !(S().files.contains(normal) || FolderExists(normal))) return std::nullopt;
        return normal;
    });
}

bool RenameFile(std::u16string_view from, std::u16string_view to) {
    const std::u16string source = Normal(from);
    const std::u16string target = Normal(to);
    return Step(Op::Rename, [&](bool fail) {
        const auto found = S().files.find(source);
        if (fail || found == S().files.end() || S().files.contains(target) || FolderExists(target) ||
            !FolderExists(ParentOf(target))) {
            return false;
        }
        Node moved = std::move(found->second);
        S().files.erase(found);
        S().files[target] = std::move(moved);
        return true;
    });
}

bool DeleteFileAt(std::u16string_view path) {
    return Remove(Normal(path));
}

bool CreateDirectoryAt(std::u16string_view path) {
    const std::u16string normal = Normal(path);
    return Step(Op::Mkdir, [&](bool fail) {
        if (fail || FolderExists(normal) || S().files.contains(normal) || !FolderExists(ParentOf(normal))) {
            return false;
        }
        S().folders.insert(normal);
        return true;
    });
}

std::optional<FileAttributes> GetAttributes(std::u16string_view path) {
    const std::u16string normal = Normal(path);
    return Step(Op::Attributes, [&](bool fail) -> std::optional<FileAttributes> {
        if (fail) return std::nullopt;
        if (FolderExists(normal)) return FileAttributes {true, 0, 0};
        const auto found = S().files.find(normal);
        if (found == S().files.end()) return std::nullopt;
        return FileAttributes {false, found->second.data.size(), found->second.writeTime};
    });
}

std::optional<std::vector<DirectoryEntry>> TryListDirectory(std::u16string_view folder) {
    const std::u16string normal = Normal(folder);
    return Step(Op::List, [&](bool fail) -> std::optional<std::vector<DirectoryEntry>> {
        if (fail) return std::nullopt;
        std::vector<DirectoryEntry> entries;
        if (!FolderExists(normal)) return entries;
        const std::u16string prefix = normal == u"/" ? normal : normal + u"/";
        const auto childName = [&](const std::u16string& path) -> std::optional<std::u16string> {
            if (!path.starts_with(prefix) || path.find(u'/', prefix.size()) != std::u16string::npos) {
                return std::nullopt;
            }
            return path.substr(prefix.size());
        };
        for (const std::u16string& sub : S().folders) {
            if (const auto name = childName(sub)) entries.push_back({*name, true, 0, 0});
        }
        for (const auto& [path, node] : S().files) {
            if (const auto name = childName(path)) entries.push_back({*name, false, node.data.size(), node.writeTime});
        }
        return entries;
    });
}

std::vector<DirectoryEntry> ListDirectory(std::u16string_view folder) {
    return TryListDirectory(folder).value_or(std::vector<DirectoryEntry> {});
}

std::uint64_t FileTimeNow() {
    return S().clock;
}

LocalTime LocalTimeNow() {
    return {2024, 5, 17, 9, 30, 0, 0, 5};
}

// A machine on UTC.
std::optional<LocalTime> LocalTimeOfUtc(const LocalTime& utc) {
    return utc;
}

std::optional<LocalTime> LocalTimeOfFileTime(std::uint64_t) {
    return LocalTimeNow();
}

}  // namespace quillpane::platform
