// Reading a line of the notation in one pass: text and notes into runs, a ruby's base found
// back from its reading, a style's target found back in what the line showed.
#include "NotationLine.h"

#include "CharacterNote.h"
#include "RubyBase.h"

#include "engine/text/CodePoints.h"

#include <algorithm>

namespace folivane::engine {
namespace {

constexpr std::string_view kAnnotationStart = "［＃";
constexpr std::string_view kAnnotationEnd = "］";
constexpr std::string_view kReadingStart = "《";
constexpr std::string_view kReadingEnd = "》";
constexpr std::string_view kBaseStart = "｜";
constexpr std::string_view kNoteMark = "※";
constexpr std::string_view kNoteOpen = "〔";
constexpr std::string_view kNoteClose = "〕";
// Notes and targets hold the notation too; deeper than this, nobody writes them.
constexpr int kDeepestNesting = 4;
// A ｜ further back than this many runs (text, notes, marks) begins no base: no base is that
// long, and a line of many readings is read in time that grows with it, not with its square.
constexpr std::size_t kLongestBase = 64;
// A style's target is looked for in this much of what the line showed last, beyond its own
// length, and in at most this many runs: it stands just before its annotation, with at most a
// few characters between.
constexpr std::size_t kTargetReach = 256;

// Whether runs of this kind show text of the line's own: what targets and plain text hold.
bool Shows(RunKind kind) {
    return kind == RunKind::Text || kind == RunKind::Note || kind == RunKind::Bar;
}

class LineReader {
public:
    LineReader(NotationLine& out, int depth) : out_(out), runs_(out.runs), depth_(depth) {}

    void Read(std::string_view line) {
        const AnnotationCloses closes(line);
        for (std::size_t at = 0; at < line.size();) {
            const std::string_view rest = line.substr(at);
            if (rest.starts_with(kNoteMark) &&
                rest.substr(kNoteMark.size()).starts_with(kAnnotationStart)) {
                const std::size_t open = at + kNoteMark.size();
                const std::size_t close = closes.Of(open);
                if (close != std::string_view::npos) {
                    const std::string_view body = Body(line, open, close);
                    if (ClassifyAnnotation(body).kind == AnnotationKind::Unknown) {
                        Note(body, line.substr(at, close + kAnnotationEnd.size() - at));
                        at = close + kAnnotationEnd.size();
                        continue;
                    }
                }
            } else if (rest.starts_with(kAnnotationStart)) {
                const std::size_t close = closes.Of(at);
                if (close != std::string_view::npos) {
                    Annotate(Body(line, at, close),
                             line.substr(at, close + kAnnotationEnd.size() - at));
                    at = close + kAnnotationEnd.size();
                    continue;
                }
            } else if (rest.starts_with(kBaseStart)) {
                runs_.push_back({.kind = RunKind::Bar, .text = std::string(kBaseStart)});
                shown_ = true;
                at += kBaseStart.size();
                continue;
            } else if (rest.starts_with(kReadingStart)) {
                const std::size_t from = at + kReadingStart.size();
                const std::size_t end = line.find(kReadingEnd, from);
                if (end != std::string_view::npos && Ruby(line.substr(from, end - from))) {
                    at = end + kReadingEnd.size();
                    continue;
                }
            }
            std::string_view next = rest;
            TakeCodePoint(next);
            AppendText(rest.substr(0, rest.size() - next.size()));
            at += rest.size() - next.size();
        }
    }

private:
    static std::string_view Body(std::string_view line, std::size_t open, std::size_t close) {
        const std::size_t from = open + kAnnotationStart.size();
        return line.substr(from, close - from);
    }

    std::string Plain(std::string_view notation) const {
        if (depth_ >= kDeepestNesting) return std::string(notation);
        NotationLine inner;
        LineReader reader(inner, depth_ + 1);
        reader.Read(notation);
        return PlainText(inner);
    }

    void AppendText(std::string_view text) {
        if (runs_.empty() || runs_.back().kind != RunKind::Text || apart_)
            runs_.push_back({.kind = RunKind::Text});
        runs_.back().text += text;
        apart_ = false;
        shown_ = shown_ || !IsBlankText(text);
    }

    void Note(std::string_view body, std::string_view whole) {
        out_.annotated = true;
        const CharacterNote note = ReadCharacterNote(body);
        if (!note.character.empty()) {
            AppendText(note.character); // of the run around it: a ruby base may take it
        } else if (const std::string described = Plain(note.description); !described.empty()) {
            runs_.push_back({.kind = RunKind::Note,
                             .text = std::string(kNoteOpen) + described + std::string(kNoteClose)});
            apart_ = false;
            shown_ = true;
        } else {
            AppendText(kNoteMark);
            out_.unknown.push_back(whole);
            apart_ = true;
        }
    }

    void Annotate(std::string_view body, std::string_view whole) {
        out_.annotated = true;
        const Annotation annotation = ClassifyAnnotation(body);
        switch (annotation.kind) {
        case AnnotationKind::Unknown:
            out_.unknown.push_back(whole);
            break;
        case AnnotationKind::Editorial:
        case AnnotationKind::HeadingEnd:
            break;
        case AnnotationKind::PageBreak:
            out_.pageBreak = true;
            break;
        case AnnotationKind::Kaeriten:
            runs_.push_back({.kind = RunKind::Kaeriten, .text = std::string(annotation.text)});
            break;
        case AnnotationKind::Okurigana:
            runs_.push_back({.kind = RunKind::Okurigana, .text = std::string(annotation.text)});
            break;
        case AnnotationKind::Style:
            if (!MarkTarget(annotation)) out_.unknown.push_back(whole);
            break;
        case AnnotationKind::StyleBegin:
            runs_.push_back(
                {.kind = RunKind::StyleBegin, .style = annotation.style, .left = annotation.left});
            break;
        case AnnotationKind::StyleEnd:
            runs_.push_back({.kind = RunKind::StyleEnd, .style = annotation.style});
            break;
        case AnnotationKind::Heading:
            out_.heading = annotation.level;
            break;
        case AnnotationKind::Indent:
            out_.indent = annotation.first;
            break;
        case AnnotationKind::AlignEnd:
            if (!shown_)
                out_.alignEnd = annotation.first;
            else
                runs_.push_back({.kind = RunKind::AlignEnd, .amount = annotation.first});
            break;
        default: // the blocks, which lines after this one follow
            out_.blocks.push_back(annotation);
            break;
        }
        // Text after an annotation begins a run of its own: a ruby base is not taken across.
        apart_ = true;
    }

    static bool IsBlankText(std::string_view text) {
        while (!text.empty()) {
            const char32_t c = TakeCodePoint(text);
            if (c != U' ' && c != U'\t' && c != U'\u3000') return false;
        }
        return true;
    }

    // Ends a ruby whose base begins at run `begin`: the style marks within it move out, so
    // that the markup nests.
    void CloseRuby(std::size_t begin, std::string_view reading) {
        std::vector<NotationRun> after;
        std::size_t moved = 0;
        for (std::size_t i = begin; i < runs_.size();) {
            const RunKind kind = runs_[i].kind;
            if (kind == RunKind::StyleBegin) {
                std::rotate(runs_.begin() + static_cast<std::ptrdiff_t>(begin + moved),
                            runs_.begin() + static_cast<std::ptrdiff_t>(i),
                            runs_.begin() + static_cast<std::ptrdiff_t>(i + 1));
                ++moved;
                ++i;
            } else if (kind == RunKind::StyleEnd || kind == RunKind::AlignEnd) {
                after.push_back(std::move(runs_[i]));
                runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(i));
            } else {
                ++i;
            }
        }
        runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(begin + moved),
                     {.kind = RunKind::RubyBegin});
        runs_.push_back({.kind = RunKind::RubyEnd, .text = std::string(reading)});
        for (NotationRun& run : after)
            runs_.push_back(std::move(run));
        apart_ = true;
    }

    // A reading with no base: text in parentheses, as a reader would write it.
    void Unbased(std::string_view reading) {
        AppendText("（");
        AppendText(reading);
        AppendText("）");
    }

    bool Ruby(std::string_view reading) {
        // The last ｜ since the last ruby begins the base, whatever stands between.
        for (std::size_t i = runs_.size(), looked = 0; i-- > 0 && looked++ < kLongestBase;) {
            if (runs_[i].kind == RunKind::RubyEnd) break;
            if (runs_[i].kind != RunKind::Bar) continue;
            if (reading.empty()) return false;
            runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(i));
            if (std::none_of(runs_.begin() + static_cast<std::ptrdiff_t>(i), runs_.end(),
                             [](const NotationRun& run) { return Shows(run.kind); }))
                Unbased(reading);
            else
                CloseRuby(i, reading);
            return true;
        }
        if (!IsKanaReading(reading)) return false;
        // Else the run of one kind before it, across text and notes that stand together.
        BaseKind kind = BaseKind::None;
        std::size_t begin = runs_.size();
        std::size_t cut = 0; // bytes of runs_[begin] before the base
        while (!apart_ && begin > 0) {
            NotationRun& run = runs_[begin - 1];
            if (run.kind == RunKind::Note && (kind == BaseKind::None || kind == BaseKind::Kanji)) {
                kind = BaseKind::Kanji;
                --begin;
                if (begin == 0 || runs_[begin - 1].kind != RunKind::Text) break;
                continue;
            }
            if (run.kind != RunKind::Text) break;
            const std::size_t taken = TrailingOfKind(run.text, kind);
            if (taken == 0) break;
            --begin;
            if (taken < run.text.size()) {
                cut = run.text.size() - taken;
                break;
            }
            if (begin == 0 || runs_[begin - 1].kind != RunKind::Note) break;
        }
        if (begin == runs_.size()) {
            Unbased(reading);
            return true;
        }
        if (cut > 0) {
            NotationRun base{.kind = RunKind::Text, .text = runs_[begin].text.substr(cut)};
            runs_[begin].text.resize(cut);
            runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(++begin), std::move(base));
        }
        CloseRuby(begin, reading);
        return true;
    }

    // Cuts the text run holding offset `offset` of what runs_[first...] show in two there.
    void SplitAt(std::size_t first, std::size_t offset) {
        std::size_t at = 0;
        for (std::size_t i = first; i < runs_.size(); ++i) {
            if (!Shows(runs_[i].kind)) continue;
            const std::size_t size = runs_[i].text.size();
            if (offset > at && offset < at + size && runs_[i].kind == RunKind::Text) {
                NotationRun tail{.kind = RunKind::Text, .text = runs_[i].text.substr(offset - at)};
                runs_[i].text.resize(offset - at);
                runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(i + 1), std::move(tail));
                return;
            }
            at += size;
        }
    }

    // The ruby a mark at run index `index` would fall into: the index of its RubyBegin, or
    // npos. A base holds at most kLongestBase runs and the marks moved out of it.
    std::size_t RubyAround(std::size_t index) const {
        for (std::size_t i = index, looked = 0; i-- > 0 && looked++ < 2 * kLongestBase;) {
            if (runs_[i].kind == RunKind::RubyEnd) break;
            if (runs_[i].kind == RunKind::RubyBegin) return i;
        }
        return std::string_view::npos;
    }

    bool MarkTarget(const Annotation& annotation) {
        const std::string target = Plain(annotation.target);
        if (target.empty()) return false;
        // What the line showed last, from `skip` bytes into run `first` on.
        const std::size_t reach = target.size() + kTargetReach;
        std::size_t first = runs_.size();
        std::size_t size = 0;
        for (std::size_t looked = 0; first > 0 && size < reach && looked < kTargetReach; ++looked) {
            --first;
            if (Shows(runs_[first].kind)) size += runs_[first].text.size();
        }
        std::size_t skip = 0;
        if (size > reach && Shows(runs_[first].kind)) {
            const std::string& text = runs_[first].text;
            skip = size - reach;
            while (skip < text.size() && (static_cast<unsigned char>(text[skip]) & 0xC0) == 0x80)
                ++skip;
        }
        std::string shown;
        for (std::size_t i = first; i < runs_.size(); ++i)
            if (Shows(runs_[i].kind))
                shown.append(runs_[i].text, i == first ? std::min(skip, runs_[i].text.size()) : 0);
        std::size_t from =
            shown.ends_with(target) ? shown.size() - target.size() : shown.rfind(target);
        if (from == std::string::npos) return false;
        from += skip;
        const std::size_t to = from + target.size();
        SplitAt(first, from);
        SplitAt(first, to);
        // The mark opens before the first run at or after `from` that shows text or opens
        // something (what closes or follows earlier text there stays before it), and closes
        // after the last run that ends by `to`.
        std::size_t begin = runs_.size();
        std::size_t end = 0;
        std::size_t at = 0;
        for (std::size_t i = first; i < runs_.size(); ++i) {
            const NotationRun& run = runs_[i];
            const bool opens = Shows(run.kind) || run.kind == RunKind::RubyBegin ||
                               run.kind == RunKind::StyleBegin;
            if (begin == runs_.size() && at >= from && opens) begin = i;
            if (Shows(run.kind)) {
                at += run.text.size();
                if (at <= to) end = i + 1;
            }
        }
        if (begin >= end) return false;
        if (const std::size_t ruby = RubyAround(begin); ruby != std::string_view::npos)
            begin = ruby;
        if (RubyAround(end) != std::string_view::npos)
            while (end < runs_.size() && runs_[end - 1].kind != RunKind::RubyEnd)
                ++end;
        runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(end),
                     {.kind = RunKind::StyleEnd, .style = annotation.style});
        runs_.insert(
            runs_.begin() + static_cast<std::ptrdiff_t>(begin),
            {.kind = RunKind::StyleBegin, .style = annotation.style, .left = annotation.left});
        return true;
    }

    NotationLine& out_;
    std::vector<NotationRun>& runs_;
    int depth_;
    bool apart_ = false; // the next text begins a run of its own
    bool shown_ = false; // the line showed something besides white space
};

} // namespace

void ReadNotationLine(std::string_view line, NotationLine& out) {
    out.runs.clear();
    out.heading = 0;
    out.pageBreak = false;
    out.indent.reset();
    out.alignEnd.reset();
    out.blocks.clear();
    out.unknown.clear();
    out.annotated = false;
    LineReader(out, 0).Read(line);
}

std::string PlainText(const NotationLine& line) {
    std::string plain;
    for (const NotationRun& run : line.runs)
        if (Shows(run.kind)) plain += run.text;
    return plain;
}

std::string PlainNotationText(std::string_view line) {
    NotationLine read;
    ReadNotationLine(line, read);
    return PlainText(read);
}

} // namespace folivane::engine
