#include "memo_generator.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace quillpane::bench {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr int kSectionLines = 42;

constexpr std::array<std::string_view, 8> kAscii {
    "Call the dentist on Tuesday and move the meeting with Ana to 3 pm.",
    "TODO: renew the domain before the end of the month",
    "ssh build@10.0.0.12 -p 2222  # the old runner, still needed for releases",
    "Groceries: milk, eggs, bread, coffee beans, two lemons, rice.",
    "The quick brown fox jumps over the lazy dog 0123456789 times.",
    "Ideas for the talk: latency budgets, caching, what users actually notice.",
    "ok",
    "",
};

constexpr std::array<std::string_view, 8> kJapanese {
    "今日の会議メモ：来週までに見積もりを出すこと。",
    "買い物リスト　牛乳、卵、食パン、コーヒー豆、レモン二個",
    "明日は午前中に歯医者、午後は資料の最終確認をする予定です。",
    "東京駅 9:30 集合、新幹線のぞみ 12 号で大阪へ。",
    "メモ帳の動作確認（ASCII と日本語が混ざった行）",
    "ひらがな、カタカナ、漢字、そして English words in one line.",
    "要確認",
    "締め切り：2024年3月31日（日）23:59",
};

}  // namespace

std::string MakeMemo(std::size_t totalBytes) {
    std::string memo;
    memo.reserve(totalBytes + 256);
    memo.append(kBom);
    // A fixed generator: every run measures the same text.
    std::uint32_t state = 12345u;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 16;
    };
    std::string line;
    for (std::size_t index = 0;; ++index) {
        const std::size_t inSection = index % kSectionLines;
        line.clear();
        if (inSection == 0) {
            line.assign(30, '-');
        } else if (inSection == 1) {
            line = "## Memo " + std::to_string(index / kSectionLines + 1) + " 見出し";
        } else {
            const std::uint32_t pick = next();
            line = (pick & 1u) ? kJapanese[(pick >> 1) % kJapanese.size()] : kAscii[(pick >> 1) % kAscii.size()];
        }
        line.append("\r\n");
        if (memo.size() + line.size() > totalBytes) break;
        memo.append(line);
    }
    // ASCII filler, so that the cut never splits a character.
    while (memo.size() < totalBytes) memo.push_back(memo.size() + 1 == totalBytes ? '.' : 'x');
    memo.resize(totalBytes);
    return memo;
}

}  // namespace quillpane::bench
