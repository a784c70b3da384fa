// Checks the order of the messages a window procedure saw against a table of expected rows.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

// What a row compares besides the message, and whether the system may leave it out.
enum MessageCheck : unsigned {
    kMessageOnly = 0,
    kWParam = 1,
    kLParam = 2,
    kParams = kWParam | kLParam,
    kOptional = 4,  // Windows or Wine may or may not send it
    kAdjacent = 8,  // right after the row before it, with no message at all between (the first row: first of all)
    kLast = 16,     // with no message at all after it
    kHidden = 32,   // seen while the window was hidden, for records that say whether it was visible
};

// One message as a window procedure saw it.
struct SeenMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct ExpectedMessage {
    UINT message;
    unsigned checks = kMessageOnly;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// Whether the message at `place` of `all` matches the row; `after` is the place right after the
// message that matched the row before.
template <typename Seen>
bool MatchesRow(const ExpectedMessage& row, const std::vector<Seen>& all, std::size_t place, std::size_t after) {
    const Seen& seen = all[place];
    bool hidden = false;
    if constexpr (requires { seen.visible; }) hidden = !seen.visible;
    return seen.message == row.message && (!(row.checks & kWParam) || seen.wParam == row.wParam) &&
           (!(row.checks & kLParam) || seen.lParam == row.lParam) && (!(row.checks & kAdjacent) || place == after) &&
           (!(row.checks & kLast) || place + 1 == all.size()) && (!(row.checks & kHidden) || hidden);
}

inline std::string DescribeParam(bool checked, unsigned long long value) {
    char text[24] = "any";
    if (checked) std::snprintf(text, sizeof text, "0x%llx", value);
    return text;
}

inline std::string DescribeRow(const ExpectedMessage& row) {
    char message[24];
    std::snprintf(message, sizeof message, "  message 0x%04x", row.message);
    return message + std::string(" wParam ") + DescribeParam(row.checks & kWParam, row.wParam) + " lParam " +
           DescribeParam(row.checks & kLParam, static_cast<unsigned long long>(row.lParam)) +
           (row.checks & kOptional ? " (optional)" : "") + (row.checks & kAdjacent ? " (adjacent)" : "") +
           (row.checks & kLast ? " (last)" : "") + (row.checks & kHidden ? " (hidden)" : "") + "\n";
}

template <typename Seen>
std::string DescribeSeen(const Seen& seen) {
    return DescribeRow({seen.message, kParams, seen.wParam, seen.lParam});
}

// Compares, in order, the seen messages that a row names or that `watched` lists with the rows;
// a watched message that no row expects fails the match wherever it comes. Messages that are not
// watched count only for rows marked kAdjacent or kLast. Every record type with
// message, wParam and lParam serves. On a mismatch both sequences are printed,
// each seen message with its place among all.
template <typename Seen>
::testing::AssertionResult SequenceMatches(const std::vector<Seen>& seen, std::initializer_list<ExpectedMessage> rows,
                                           std::initializer_list<UINT> watched = {}) {
    const auto isWatched = [&](UINT message) {
        return std::find(watched.begin(), watched.end(), message) != watched.end() ||
               std::any_of(rows.begin(), rows.end(),
                           [&](const ExpectedMessage& row) { return row.message == message; });
    };
    std::vector<std::size_t> compared;  // the places in `seen` of the watched messages
    for (std::size_t place = 0; place < seen.size(); ++place) {
        if (isWatched(seen[place].message)) compared.push_back(place);
    }

    auto row = rows.begin();
    auto next = compared.begin();
    std::size_t after = 0;
    while (row != rows.end()) {
        if (next != compared.end() && MatchesRow(*row, seen, *next, after)) {
            after = *next + 1;
            ++next;
        } else if (!(row->checks & kOptional)) {
            break;
        }
        ++row;
    }
    if (row == rows.end() && next == compared.end()) return ::testing::AssertionSuccess();

    std::string expected;
    for (const ExpectedMessage& r : rows) expected += DescribeRow(r);
    std::string got;
    for (const std::size_t place : compared) {
        got.append("#").append(std::to_string(place)).append(DescribeSeen(seen[place]));
    }
    const std::string where =
        row == rows.end() ? "after the last row" : "at row " + std::to_string(row - rows.begin());
    return ::testing::AssertionFailure() << "the messages differ " << where << "\nexpected:\n"
                                         << expected << "got:\n"
                                         << got;
}
