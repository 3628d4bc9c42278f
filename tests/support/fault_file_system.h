// Control of the in-memory file services (fault_file_system.cpp), which stand
// in for platform/file_system.h in the fault test program.
//
// Every service runs as a sequence of steps, one per system call the real
// implementations make (WriteFileAtomic: open the temporary file, write,
// flush when asked, close, rename, and the delete of the temporary file on
// failure), so that a fault can hit each step.
//
// Power-cut model, as crash tests of storage engines use it: the process
// sees its writes at once, but only flushed data is durable. Namespace
// changes (create, rename, delete, mkdir) are durable at once, so a rename
// of an unflushed file survives a power cut while its data does not:
//   Revert   - an unflushed file goes back to its last flushed bytes (empty
//              when it was never flushed: the zero-length file after rename);
//   ZeroFill - an unflushed file keeps its length but reads as zeros.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane::testing::faultfs {

enum class Op { Open, Read, Write, Flush, Close, Rename, Delete, Attributes, List, Copy, Mkdir };
inline constexpr std::array kAllOps = {Op::Open,   Op::Read,       Op::Write, Op::Flush, Op::Close, Op::Rename,
                                       Op::Delete, Op::Attributes, Op::List,  Op::Copy,  Op::Mkdir};
[[nodiscard]] std::string_view OpName(Op op);

// What survives the end of the process when it stops at a crash point.
enum class Loss { None, Revert, ZeroFill };  // None: only the process died
[[nodiscard]] std::string_view LossName(Loss loss);

// Thrown out of a service at the crash point; the code under test unwinds.
struct Crash {};

// Empty file system, no faults, counters at zero.
void Reset();

// The n-th call (1-based) of op fails; with sticky, every later one too.
void FailAt(Op op, int n, bool sticky = false);
// The n-th step (1-based, any op) runs, then Crash is thrown.
void CrashAfter(int n);
// Applies the loss, then forgets faults and counters: the next boot.
void Restart(Loss loss);

[[nodiscard]] int Calls(Op op);
[[nodiscard]] int Steps();

// Arranging and inspecting, outside the counted services. Paths use '/'.
void MakeFolders(std::u16string_view path);
void PutFile(std::u16string_view path, std::string_view bytes);  // flushed
[[nodiscard]] std::optional<std::string> Content(std::u16string_view path);
[[nodiscard]] std::vector<std::u16string> FilesUnder(std::u16string_view folder);  // every level

}  // namespace quillpane::testing::faultfs
