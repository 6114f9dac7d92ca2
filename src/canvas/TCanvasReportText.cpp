// Text output of the canvas renderer: the writer, the four alignments and
// justified blocks.
#include "canvas/TCanvasReport.h"

#include "platform/Rounding.h"

#include <algorithm>

namespace rpt {

namespace {

bool HasFormatCodes(const std::string& text) { return text.find('\x01') != std::string::npos; }

// Keeps the position stack balanced on every path through a justified word.
class SavedPosition {
public:
    explicit SavedPosition(TBaseReport& report) : report_(report) { report_.PushPos(); }
    ~SavedPosition() { report_.PopPos(); }
    SavedPosition(const SavedPosition&) = delete;
    SavedPosition& operator=(const SavedPosition&) = delete;

private:
    TBaseReport& report_;
};

// The gap before a justified word is filled with blanks so that underline,
// strike-out and an opaque background run through it; a gap wider than any
// page would need more blanks than this and is capped rather than allocated.
constexpr int32_t kMaxGapBlanks = 4096;

} // namespace

void TCanvasReport::WriteText(const std::string& text, unsigned align, double x) {
    DeviceContext& dc = GetCanvas().Handle();
    int previousMode = dc.SetBkMode(BackMode + 1);
    SelectFont();
    {
        struct Restore {
            TCanvasReport& report;
            DeviceContext& dc;
            int mode;
            ~Restore() {
                report.DeselectFont();
                dc.SetBkMode(mode);
            }
        } restore{*this, dc, previousMode};

        unsigned vertical;
        int32_t y;
        if (FontRecord.Superscript) {
            vertical = TA_TOP;
            y = InchToDevY(UnitToInchY((TextTop() + LineTop()) / 2));
        } else if (FontRecord.Subscript) {
            vertical = TA_BOTTOM;
            y = UnitToDevY(TextBottom()) + 1;
        } else if (FontRecord.FontAlign == 0) {
            vertical = TA_BASELINE;
            y = UnitToDevY(TextBaseline()) + 1;
        } else if (FontRecord.FontAlign == 1) {
            vertical = TA_TOP;
            y = InchToDevY(UnitToInchY(TextTop()) - FontRecord.InternalLeading);
        } else {
            vertical = TA_BOTTOM;
            y = UnitToDevY(TextBottom()) + 1;
        }
        dc.SetTextAlign(align + vertical);
        if (!text.empty())
            dc.TextOut(InchToDevX(x), y, text);
    }
    CursorX = x;
    if (align == TA_LEFT)
        AdvanceX(TextWidth(text));
    else if (align == TA_CENTER)
        AdvanceX(TextWidth(text) / 2);
}

void TCanvasReport::PrintLeft(const std::string& text, double x) {
    if (!BeginOutput())
        return;
    if (!HasFormatCodes(text)) {
        WriteText(text, TA_LEFT, x);
        return;
    }
    int32_t pos = 1;
    std::string run;
    while (pos <= static_cast<int32_t>(text.size())) {
        NextFormattedRun(text, pos, run);
        WriteText(run, TA_LEFT, x);
        x += UnitToInchX(TextWidth(run)) * 100 / ZoomFactor;
    }
}

void TCanvasReport::PrintCenter(const std::string& text, double x) {
    if (!BeginOutput())
        return;
    if (!HasFormatCodes(text)) {
        WriteText(text, TA_CENTER, x);
        return;
    }
    int32_t width = FormattedTextWidth(text);
    PrintLeft(text, x - width / (ZoomFactor / 100 * XDPI * 2));
}

void TCanvasReport::PrintRight(const std::string& text, double x) {
    if (!BeginOutput())
        return;
    if (!HasFormatCodes(text)) {
        WriteText(text, TA_RIGHT, x);
        return;
    }
    int32_t width = FormattedTextWidth(text);
    PrintLeft(text, x - width / (ZoomFactor / 100 * XDPI));
}

void TCanvasReport::PrintBlock(const std::string& original, double x, double width) {
    if (!BeginOutput())
        return;
    std::string text = original;
    int32_t blanks = CountInnerBlanks(text);
    if (blanks == 0) {
        // A single word is letter-spaced: a blank between every two adjacent
        // non-blank characters.
        for (size_t j = 1; j < text.size(); ++j) {
            if (text[j - 1] != ' ' && text[j] != ' ') {
                text.insert(j, 1, ' ');
                ++blanks;
                ++j;
            }
        }
    }
    if (blanks == 0)
        blanks = 1;
    double extra = (InchToUnitX(width) * ScaleX * ZoomFactor / 10000 - TextWidth(text)) / blanks;
    double pitch = TextWidth(" ") + extra;
    std::string word;
    NextWord(text, word);
    WriteText(word, TA_LEFT, x);
    std::string gap;
    while (!text.empty()) {
        NextBlanks(text, gap);
        double count = static_cast<double>(gap.size());
        NextWord(text, word);
        WriteJustifiedWord(word, TextWidth(word) + count * pitch);
    }
}

void TCanvasReport::WriteJustifiedWord(const std::string& word, double dist) {
    {
        SavedPosition start(*this);
        double gap = dist - TextWidth(word);
        int32_t blanks = std::min(Trunc(gap / TextWidth(" ")), kMaxGapBlanks);
        if (blanks > 0) {
            SavedPosition fill(*this);
            WriteText(std::string(static_cast<size_t>(blanks), ' '), TA_LEFT, CursorX);
        }
        AdvanceX(gap);
        WriteText(" ", TA_RIGHT, CursorX);
    }
    AdvanceX(dist);
    WriteText(word, TA_RIGHT, CursorX);
}

void TCanvasReport::NextWord(std::string& s, std::string& word) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    while (i < s.size() && s[i] != ' ')
        ++i;
    if (i >= s.size()) {
        word = std::move(s);
        s.clear();
        return;
    }
    word = s.substr(0, i);
    s.erase(0, i);
}

void TCanvasReport::NextBlanks(std::string& s, std::string& blanks) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    if (i >= s.size()) {
        blanks = std::move(s);
        s.clear();
        return;
    }
    blanks = s.substr(0, i);
    s.erase(0, i);
}

int32_t TCanvasReport::CountInnerBlanks(const std::string& s) {
    size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return 0;
    size_t last = s.find_last_not_of(' ');
    return static_cast<int32_t>(std::count(s.begin() + first, s.begin() + last + 1, ' '));
}

} // namespace rpt
