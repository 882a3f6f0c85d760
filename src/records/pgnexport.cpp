#include "pgnexport.h"

#include "pgnmoves.h"
#include "rules/movecheck.h"
#include "rules/position.h"

#include <algorithm>
#include <utility>

namespace quorin {
namespace {

constexpr PieceCode kWhiteKing = 5;  // on a board seen from White's side
constexpr PieceCode kBlackKing = 11; // likewise
constexpr std::size_t kLineWidth = 79;

using Lines = std::vector<std::optional<Board>>;

// A board seen from White's side as `colour` sees it, and back.
Board ViewOf(const Board& board, Colour colour) {
    return colour == Colour::White ? board : Turned(board);
}

// Whether one move of `mover` leads from `before` to `after`, both seen from White's side.
bool MoveLeads(const Board& before, Colour mover, const Board& after) {
    return MoveTo(LegalMoves(ViewOf(before, mover), mover), ViewOf(after, mover)).has_value();
}

const Board& StartPosition() {
    static const Board start = *ReadPosition(InitialPosition);
    return start;
}

std::string Note(std::size_t line, const char* what) {
    return "記録の" + std::to_string(line + 1) + "行目" + what + "以降は書き出していません。";
}

// The game as it reads when the recording player plays `recorder`.
struct Reading {
    Colour firstMover = Colour::White;
    bool fromStart = false;
    std::vector<Board> boards; // from White's side: the start, then after each move
    std::string note;          // the comment that ends the game text, if any
};

// Why the recorded position `recorded` (seen from White's side: `after`) does not follow
// from `before` by one move of `mover`.
std::string WhyNoMove(const Board& before, Colour mover, const Board& recorded, const Board& after,
                      std::size_t line) {
    // A new game: one move from the start, whichever side the recording player now plays.
    if (MoveLeads(StartPosition(), Colour::White, recorded) ||
        MoveLeads(StartPosition(), Colour::White, Turned(recorded)))
        return Note(line, "から新しい対局です。");
    if (MoveLeads(before, Opponent(mover), after))
        return Note(line, "では同じ側が続けて指しています。");
    for (const PlayerMove& move : LegalMoves(ViewOf(before, mover), mover)) {
        if (MoveLeads(ViewOf(move.after, mover), Opponent(mover), after))
            return Note(line, "の前に一手分の局面が抜けています。");
    }
    return Note(line, "の局面へは一手では行けません。");
}

// `before` lines of the record came before `lines`: the comments count from the record's first.
Reading Read(const Lines& lines, std::size_t first, Colour recorder, std::size_t before) {
    Reading r;
    const auto white = [&](std::size_t i) { return ViewOf(*lines[i], recorder); };
    Board current = white(first);
    r.fromStart = MoveLeads(StartPosition(), Colour::White, current);
    Colour toMove = Colour::Black;
    if (r.fromStart) {
        r.boards = {StartPosition(), current};
    } else {
        r.boards = {current};
        const bool next = first + 1 < lines.size() && lines[first + 1];
        if (next && MoveLeads(current, Colour::White, white(first + 1)))
            r.firstMover = Colour::White;
        else if (next && MoveLeads(current, Colour::Black, white(first + 1)))
            r.firstMover = Colour::Black;
        else
            r.firstMover = IsKingInCheck(Turned(current)) ? Colour::Black : Colour::White;
        toMove = r.firstMover;
    }
    for (std::size_t i = first + 1; i < lines.size(); ++i) {
        if (!current.find(kWhiteKing) || !current.find(kBlackKing)) {
            r.note = Note(before + i, "はキングが取られた後の局面です。");
            break;
        }
        if (!lines[i]) {
            r.note = Note(before + i, "は局面ではありません。");
            break;
        }
        const Board next = white(i);
        if (!MoveLeads(current, toMove, next)) {
            r.note = WhyNoMove(current, toMove, *lines[i], next, before + i);
            break;
        }
        r.boards.push_back(next);
        current = next;
        toMove = Opponent(toMove);
    }
    return r;
}

// Kings and queens on the start squares of White's layout, less those on Black's, on a
// board as the recording player saw it.
int LayoutLean(const Board& b) {
    const auto on = [&](int x, int y, PieceCode code) { return b.at(x, y) == code ? 1 : 0; };
    return on(4, 7, 5) + on(3, 7, 4) + on(4, 0, 11) + on(3, 0, 10) - on(3, 7, 5) - on(4, 7, 4) -
           on(3, 0, 11) - on(4, 0, 10);
}

std::string Fen(const Board& b, Colour toMove) {
    static constexpr char letters[] = "PRNBQKprnbqk";
    std::string fen;
    for (int y = 0; y < 8; ++y) {
        int empty = 0;
        for (int x = 0; x < 8; ++x) {
            const PieceCode code = b.at(x, y);
            if (code == kEmptyCode) {
                ++empty;
                continue;
            }
            if (empty > 0)
                fen += char('0' + std::exchange(empty, 0));
            fen += letters[code];
        }
        if (empty > 0)
            fen += char('0' + empty);
        if (y < 7)
            fen += '/';
    }
    fen += toMove == Colour::White ? " w " : " b ";
    std::string castling;
    if (b.at(4, 7) == kWhiteKing) {
        castling += b.at(7, 7) == 1 ? "K" : "";
        castling += b.at(0, 7) == 1 ? "Q" : "";
    }
    if (b.at(4, 0) == kBlackKing) {
        castling += b.at(7, 0) == 7 ? "k" : "";
        castling += b.at(0, 0) == 7 ? "q" : "";
    }
    return fen + (castling.empty() ? "-" : castling) + " - 0 1";
}

std::string Tag(const char* name, const std::string& value) {
    std::string escaped;
    for (char ch : value) {
        if (ch == '"' || ch == '\\')
            escaped += '\\';
        escaped += ch;
    }
    return std::string("[") + name + " \"" + escaped + "\"]\n";
}

// Characters, not bytes: the comments are Japanese.
std::size_t Width(const std::string& text) {
    return std::size_t(std::count_if(text.begin(), text.end(), [](char ch) {
        return (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
    }));
}

} // namespace

std::optional<std::string> ExportPgn(const std::vector<std::string>& lines, const PgnTags& tags,
                                     std::size_t linesBefore) {
    Lines boards;
    for (const std::string& line : lines)
        boards.push_back(ReadPosition(line));
    const auto first = std::find_if(boards.begin(), boards.end(),
                                    [](const std::optional<Board>& b) { return b.has_value(); });
    if (first == boards.end())
        return std::nullopt;
    const std::size_t start = std::size_t(first - boards.begin());

    Reading asWhite = Read(boards, start, Colour::White, linesBefore);
    Reading asBlack = Read(boards, start, Colour::Black, linesBefore);
    const bool black = asBlack.boards.size() != asWhite.boards.size()
                           ? asBlack.boards.size() > asWhite.boards.size()
                           : LayoutLean(*boards[start]) < 0;
    const Reading& r = black ? asBlack : asWhite;

    const Board& last = r.boards.back();
    const bool whiteKing = last.find(kWhiteKing).has_value();
    const bool blackKing = last.find(kBlackKing).has_value();
    const std::string result = whiteKing == blackKing ? "*" : whiteKing ? "1-0" : "0-1";

    std::string pgn = Tag("Event", tags.Event) + Tag("Site", tags.Site) + Tag("Date", tags.Date) +
                      Tag("Round", tags.Round) + Tag("White", tags.White) +
                      Tag("Black", tags.Black) + Tag("Result", result);
    if (!r.fromStart)
        pgn += Tag("SetUp", "1") + Tag("FEN", Fen(r.boards.front(), r.firstMover));
    pgn += '\n';

    // A move number stays on the line of its move.
    std::vector<std::string> words;
    Colour mover = r.firstMover;
    for (std::size_t i = 0, number = 1; i + 1 < r.boards.size(); ++i) {
        const Board before = ViewOf(r.boards[i], mover);
        const auto moves = LegalMoves(before, mover);
        std::string word = mover == Colour::White ? std::to_string(number) + ". "
                           : i == 0               ? std::to_string(number) + "... "
                                                  : "";
        words.push_back(word +
                        San(before, mover, *MoveTo(moves, ViewOf(r.boards[i + 1], mover)), moves));
        if (mover == Colour::Black)
            ++number;
        mover = Opponent(mover);
    }
    if (!r.note.empty())
        words.push_back("{" + r.note + "}");
    words.push_back(result);

    std::string line;
    for (const std::string& word : words) {
        if (!line.empty() && Width(line) + 1 + Width(word) > kLineWidth) {
            pgn += line + '\n';
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    return pgn + line + "\n\n";
}

} // namespace quorin
