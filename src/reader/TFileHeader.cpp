#include "reader/TFileHeader.h"

#include "device/EQuillet.h"
#include "device/Translate.h"
#include "platform/Stream.h"
#include "reader/TReportDecoder.h"

namespace rpt {

int32_t FormatVersionOfCode(uint8_t code) {
    switch (code) {
    case 'Q': return 1101;
    case 'Y': return 2009;
    default: return 0;
    }
}

TFileHeader TFileHeader::Read(TStream& stream) {
    stream.SetPosition(0);
    TFileHeader h;
    TReportDecoder probe(stream, 0);
    h.VersionCode = probe.Byte();
    if (h.VersionCode == 'Z')
        h.FormatVersion = probe.Int16();
    else if (h.VersionCode == 'Q' || h.VersionCode == 'Y')
        h.FormatVersion = FormatVersionOfCode(h.VersionCode);
    else
        RaiseError(Translate("Unexpected header code found in report file."));

    TReportDecoder in(stream, h.FormatVersion);
    if (h.FormatVersion >= 2010)
        h.Title = in.String();
    h.TotalPages = in.Int16();
    in.Int16();
    in.Int16();
    h.PageWidth = in.Single();
    h.PageHeight = in.Single();
    for (int i = 0; i < 4; ++i)
        in.Single();
    h.Orientation = in.Byte();
    if (h.FormatVersion >= 2000) {
        h.PaperBin = in.Int16();
        h.Collate = in.Byte();
        h.Duplex = in.Byte();
    }
    h.Copies = in.Int16();
    h.PaperSize = in.Int16();
    h.PaperWidth = in.Int16();
    h.PaperLength = in.Int16();
    h.OutputFileName = in.String();
    h.FirstPagePos = stream.Position();
    return h;
}

} // namespace rpt
