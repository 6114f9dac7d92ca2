// Writes the bundled sample report: a short business report with a table,
// justified text, page footers from macros, formatted runs and rotated text,
// then a page of every shape, pen mode and brush style with embedded graphics.
// Run: make_sample samples/sample.rpt
#include "fixture/BmpFile.h"
#include "fixture/IcoFile.h"
#include "fixture/MetafileWriter.h"
#include "fixture/ReportWriter.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace rpt::fixture;

namespace {

// Windows-1252 text as the report file stores it.
const std::string kTitle = "Relat\xF3rio de Vendas \x96 Exerc\xED" "cio 2026";
const std::string kMacroPage = "\xFD$QLCM11";
const std::string kMacroTotal = "\xFD$QLCM10";
const std::string kMacroDate = "\xFD$QLCM00";

void SetFont(ReportWriter& w, const std::string& name, float points, bool bold = false,
             bool italic = false, int32_t colour = 0) {
    w.Command(Code::FontName).String(name);
    w.Command(Code::FontHeight).Single(points / 72.0f).Single(100.0f);
    w.Command(Code::Bold).Byte(bold);
    w.Command(Code::Italic).Byte(italic);
    w.Command(Code::Underline).Byte(0);
    w.Command(Code::FontColor).Int32(colour);
    // Ascent, descent and line height, as the report writer measured the font.
    w.Command(Code::LineMetrics).Single(points * 0.905f / 72).Single(points * 0.212f / 72)
        .Single(points * 1.15f / 72);
}

void Left(ReportWriter& w, float x, float y, const std::string& text) {
    w.Command(Code::PrintLeft).Single(y).String(text).Single(x);
}
void Right(ReportWriter& w, float x, float y, const std::string& text) {
    w.Command(Code::PrintRight).Single(y).String(text).Single(x);
}
void Centre(ReportWriter& w, float x, float y, const std::string& text) {
    w.Command(Code::PrintCenter).Single(y).String(text).Single(x);
}

void Pen(ReportWriter& w, int32_t colour, float width, uint8_t style = 0, uint8_t mode = 4) {
    w.Command(Code::Pen).Pen(PenDesc{colour, mode, style, width});
}
void Brush(ReportWriter& w, int32_t colour, uint8_t style) {
    w.Command(Code::Brush).Brush(BrushDesc{colour, style, std::nullopt, false});
}

void Footer(ReportWriter& w) {
    Pen(w, 0x808080, 0.01f);
    w.Command(Code::MoveTo).Single(0.75f).Single(10.3f);
    w.Command(Code::LineTo).Single(7.75f).Single(10.3f);
    SetFont(w, "Arial", 8, false, true, 0x404040);
    Left(w, 0.75f, 10.5f, "Emitido em " + kMacroDate);
    Right(w, 7.75f, 10.5f, "P\xE1gina " + kMacroPage + " de " + kMacroTotal);
}

void Heading(ReportWriter& w, const std::string& text) {
    Brush(w, 0x7F3F1F, 0);
    Pen(w, 0x7F3F1F, 0.0f);
    w.Command(Code::Rectangle).Single(0.75f).Single(0.6f).Single(7.75f).Single(1.15f);
    w.Command(Code::BackMode).Byte(0);
    SetFont(w, "Arial", 18, true, false, 0xFFFFFF);
    Left(w, 0.95f, 1.0f, text);
}

void SalesPage(ReportWriter& w) {
    w.BeginPage();
    Heading(w, kTitle);
    w.Command(Code::ReportVar).String("Filial").SlotString("S\xE3o Paulo \x96 Centro", 40);
    SetFont(w, "Times New Roman", 12);
    Left(w, 0.75f, 1.6f, "Filial: \xFD$QLCV\xFC" "Filial\xFB");

    const char* rows[][3] = {
        {"Jan", "Cal\xE7" "ados", "12.450,00"},  {"Fev", "Confec\xE7\xF5" "es", "9.870,50"},
        {"Mar", "A\xE7\xFA" "car e caf\xE9", "15.002,75"}, {"Abr", "Eletr\xF4nicos", "31.980,00"},
        {"Mai", "Papelaria", "4.120,10"},            {"Jun", "Servi\xE7os", "\x80 7.450,00"},
    };
    float y = 2.1f;
    SetFont(w, "Arial", 10, true);
    Brush(w, 0xF0E0D0, 0);
    Pen(w, 0x000000, 0.0f, 5);
    w.Command(Code::Rectangle).Single(0.75f).Single(y - 0.18f).Single(7.75f).Single(y + 0.07f);
    Left(w, 0.85f, y, "M\xEAs");
    Left(w, 1.8f, y, "Categoria");
    Right(w, 7.6f, y, "Valor (R$)");
    SetFont(w, "Arial", 10);
    for (const auto& row : rows) {
        y += 0.3f;
        Left(w, 0.85f, y, row[0]);
        Left(w, 1.8f, y, row[1]);
        Right(w, 7.6f, y, row[2]);
        Pen(w, 0xC0C0C0, 0.0f);
        w.Command(Code::MoveTo).Single(0.75f).Single(y + 0.08f);
        w.Command(Code::LineTo).Single(7.75f).Single(y + 0.08f);
    }
    y += 0.35f;
    SetFont(w, "Arial", 10, true);
    Left(w, 1.8f, y, "Total do semestre");
    Right(w, 7.6f, y, "80.873,35");

    SetFont(w, "Times New Roman", 11);
    const char* paragraph[] = {
        "As vendas do semestre superaram a meta em nove por cento. O destaque foi a",
        "linha de eletr\xF4nicos, impulsionada pela campanha de abril; a\xE7\xFA" "car e caf\xE9",
        "mantiveram a regularidade das \xFAltimas temporadas, e a papelaria recuou com o",
        "fim do per\xEDodo escolar. A ger\xEAncia recomenda manter os estoques de cal\xE7" "ados.",
    };
    y += 0.6f;
    for (size_t i = 0; i < 4; ++i) {
        if (i + 1 < 4)
            w.Command(Code::PrintBlock).Single(y).String(paragraph[i]).Single(0.75f).Single(7.0f);
        else
            Left(w, 0.75f, y, paragraph[i]);
        y += 0.22f;
    }

    y += 0.4f;
    SetFont(w, "Arial", 11);
    Left(w, 0.75f, y,
         "Resumo: \x01" "B1\x04" "crescimento\x01" "B0\x04 de \x01" "C255\x02" "I1\x04" "9%\x01r\x04"
         " sobre 2025 (H\x01" "S1\x04" "2\x01S0\x04O e E = mc\x01P1\x04" "2\x01P0\x04).");
    Footer(w);
    w.EndPage();
}

void NotesPage(ReportWriter& w) {
    w.BeginPage();
    Heading(w, "Observa\xE7\xF5" "es");
    SetFont(w, "Courier New", 10);
    Left(w, 0.75f, 1.7f, "C\xF3" "digo   Descri\xE7\xE3o                    Qtde");
    Left(w, 0.75f, 1.9f, "001      Ma\xE7\xE3 argentina              120");
    Left(w, 0.75f, 2.1f, "002      P\xE3o de queijo                 48");
    SetFont(w, "Arial", 10, false, true);
    Centre(w, 4.25f, 2.6f, "(valores em unidades)");
    SetFont(w, "Arial", 14, true, false, 0x0000C0);
    w.Command(Code::FontRotation).Int16(90);
    Left(w, 7.5f, 6.0f, "CONFIDENCIAL");
    w.Command(Code::FontRotation).Int16(30);
    Left(w, 2.0f, 5.5f, "Texto girado 30\xB0");
    w.Command(Code::FontRotation).Int16(0);
    w.Command(Code::BackMode).Byte(1);
    w.Command(Code::BackColor).Int32(0x00FFFF);
    SetFont(w, "Arial", 12);
    Left(w, 0.75f, 7.0f, " Fundo opaco em amarelo ");
    w.Command(Code::BackMode).Byte(0);
    w.Command(Code::FontCharset).Byte(204);
    Left(w, 0.75f, 7.5f, "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0!");
    w.Command(Code::FontCharset).Byte(0);
    Footer(w);
    w.EndPage();
}

// A logo as a placeable metafile: a bar chart with a caption.
Bytes LogoWmf() {
    MetafileWriter m = MetafileWriter::PlaceableWmf(0, 0, 1440, 720, 1440);
    m.SetMapMode(8).SetWindowOrg(0, 0).SetWindowExt(1440, 720);
    m.CreatePen(0, 0, 10, 0x000000).SelectObject(0);
    m.CreateBrush(1, 0, 0xE0F0FF).SelectObject(1);
    m.Rectangle(0, 0, 1440, 720);
    const uint32_t colours[] = {0x3060C0, 0x30A040, 0x2080E0, 0x8040A0};
    const int heights[] = {300, 450, 380, 560};
    for (int i = 0; i < 4; ++i) {
        m.CreateBrush(2 + i, 0, colours[i]).SelectObject(2 + i);
        m.Rectangle(160 + i * 300, 640 - heights[i], 360 + i * 300, 640);
    }
    m.CreateFont(6, -110, "Arial", 700).SelectObject(6);
    m.SetBkMode(1).SetTextColor(0x202020);
    m.TextOut(60, 20, "Vendas");
    return m.Bytes();
}

// An enhanced metafile: a ring of triangles.
Bytes StarEmf() {
    MetafileWriter m = MetafileWriter::Emf(0, 0, 400, 400, 0, 0, 10160, 10160, 1000, 1000, 254, 254);
    m.CreatePen(1, 0, 4, 0x004080).SelectObject(1);
    m.CreateBrush(2, 0, 0x40C0FF).SelectObject(2);
    m.Polygon({{200, 10}, {250, 150}, {390, 150}, {280, 240}, {320, 390},
               {200, 300}, {80, 390}, {120, 240}, {10, 150}, {150, 150}});
    return m.Bytes();
}

Bytes Badge() {
    return IcoFile(32, [](int32_t x, int32_t y) -> uint32_t {
        int32_t dx = x - 16, dy = y - 16;
        if (dx * dx + dy * dy > 15 * 15)
            return 0;
        return (dx * dx + dy * dy > 11 * 11) ? 0xFF205080u : 0xFFF0C020u;
    });
}

Bytes Gradient(int32_t width, int32_t height) {
    return BmpFile(width, height, 24, [=](int32_t x, int32_t y) {
        uint32_t r = static_cast<uint32_t>(255 * x / (width - 1));
        uint32_t b = static_cast<uint32_t>(255 * y / (height - 1));
        return r | (0x80u << 8) | (b << 16);
    });
}

void ShapesPage(ReportWriter& w) {
    w.BeginPage();
    Heading(w, "Formas, canetas e pinc\xE9is");
    SetFont(w, "Arial", 9);
    Pen(w, 0x000000, 0.02f);
    Brush(w, 0x80C0FF, 0);
    float x = 0.9f, y = 1.5f;
    w.Command(Code::Rectangle).Single(x).Single(y).Single(x + 1).Single(y + 0.8f);
    w.Command(Code::RoundRect).Single(x + 1.3f).Single(y).Single(x + 2.3f).Single(y + 0.8f)
        .Single(0.25f).Single(0.25f);
    w.Command(Code::Ellipse).Single(x + 2.6f).Single(y).Single(x + 3.6f).Single(y + 0.8f);
    w.Command(Code::Pie).Single(x + 3.9f).Single(y).Single(x + 4.9f).Single(y + 0.8f)
        .Single(x + 4.9f).Single(y + 0.4f).Single(x + 4.4f).Single(y);
    w.Command(Code::Chord).Single(x + 5.2f).Single(y).Single(x + 6.2f).Single(y + 0.8f)
        .Single(x + 6.2f).Single(y + 0.6f).Single(x + 5.2f).Single(y + 0.2f);
    y += 1.1f;
    w.Command(Code::Arc).Single(x).Single(y).Single(x + 1).Single(y + 0.8f)
        .Single(x + 1).Single(y + 0.4f).Single(x).Single(y + 0.4f);
    w.Command(Code::Polygon).PointList({{x + 1.8f, y}, {x + 2.3f, y + 0.8f}, {x + 1.3f, y + 0.8f}});
    w.Command(Code::Polyline).PointList(
        {{x + 2.6f, y + 0.8f}, {x + 2.9f, y}, {x + 3.2f, y + 0.8f}, {x + 3.5f, y}});
    w.Command(Code::FrameRect).Rect(x + 3.9f, y, x + 4.9f, y + 0.8f);
    Brush(w, 0x40A040, 0);
    w.Command(Code::FillRect).Rect(x + 5.2f, y, x + 6.2f, y + 0.8f);

    // Pen modes over a striped background.
    y += 1.2f;
    Left(w, x, y - 0.1f, "Modos de caneta (pmBlack \x85 pmNotXor)");
    Brush(w, 0xFF8080, 0);
    Pen(w, 0, 0.0f, 5);
    w.Command(Code::Rectangle).Single(x).Single(y).Single(x + 6.4f).Single(y + 0.5f);
    for (int mode = 0; mode < 16; ++mode) {
        Pen(w, 0x2080FF, 0.08f, 0, static_cast<uint8_t>(mode));
        float mx = x + 0.2f + mode * 0.4f;
        w.Command(Code::MoveTo).Single(mx).Single(y - 0.05f);
        w.Command(Code::LineTo).Single(mx).Single(y + 0.55f);
    }

    // Brush styles.
    y += 0.9f;
    Left(w, x, y - 0.1f, "Estilos de pincel (bsSolid \x85 bsDiagCross)");
    Pen(w, 0, 0.01f);
    for (int style = 0; style < 8; ++style) {
        Brush(w, 0x804000, static_cast<uint8_t>(style));
        float bx = x + style * 0.8f;
        w.Command(Code::Rectangle).Single(bx).Single(y).Single(bx + 0.65f).Single(y + 0.65f);
    }

    // Pen styles.
    y += 1.0f;
    Left(w, x, y - 0.1f, "Estilos de caneta");
    for (int style = 0; style < 7; ++style) {
        Pen(w, 0x000080, 0.0f, static_cast<uint8_t>(style));
        float py = y + 0.1f + style * 0.12f;
        w.Command(Code::MoveTo).Single(x).Single(py);
        w.Command(Code::LineTo).Single(x + 3.0f).Single(py);
    }

    // Embedded bitmaps.
    Left(w, x + 3.5f, y - 0.1f, "Bitmaps");
    w.Command(Code::PrintBitmapRect).Graphic(kBitmap, Gradient(64, 48))
        .Single(x + 3.5f).Single(y).Single(x + 4.7f).Single(y + 0.9f);
    w.Command(Code::PrintBitmap).Graphic(kBitmap, Gradient(32, 32), true)
        .Single(x + 5.0f).Single(y).Single(1.0f).Single(1.0f);
    w.Command(Code::StretchDraw).Graphic(kBitmap, Gradient(16, 16))
        .Rect(x + 5.6f, y, x + 6.4f, y + 0.8f);

    // Metafiles and an icon.
    y += 1.3f;
    Left(w, x, y - 0.1f, "Metarquivos e \xED" "cone");
    w.Command(Code::Draw).Graphic(kMetafile, LogoWmf()).Single(x).Single(y);
    w.Command(Code::StretchDraw).Graphic(kMetafile, StarEmf()).Rect(x + 1.3f, y, x + 2.1f, y + 0.8f);
    w.Command(Code::Draw).Graphic(kIcon, Badge()).Single(x + 2.4f).Single(y + 0.2f);

    // Flood fill inside a framed circle.
    y += 1.2f;
    Pen(w, 0x000000, 0.02f);
    Brush(w, 0, 1);
    w.Command(Code::Ellipse).Single(x).Single(y).Single(x + 0.9f).Single(y + 0.9f);
    Brush(w, 0x00C0FF, 0);
    w.Command(Code::FloodFill).Single(x + 0.45f).Single(y + 0.45f).Int32(0).Int32(1);
    Left(w, x + 1.1f, y + 0.5f, "Preenchimento por inunda\xE7\xE3o");
    Footer(w);
    w.EndPage();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample OUTPUT.rpt\n");
        return 2;
    }
    ReportWriter w(2018);
    ReportHeader header;
    header.title = "Relat\xF3rio de Vendas";
    w.Header(header);
    SalesPage(w);
    NotesPage(w);
    ShapesPage(w);
    w.SaveTo(argv[1]);
    return 0;
}
