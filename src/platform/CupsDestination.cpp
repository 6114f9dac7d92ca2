#include "platform/CupsDestination.h"

#include "platform/PaperSizes.h"

#include <algorithm>
#include <cstdlib>

namespace rpt {

namespace {

constexpr int kDefaultResolution = 600;
// Beyond any real printer; keeps a hostile answer from becoming a huge page.
constexpr int kMaxResolution = 4800;

PrinterMedia FromCupsSize(const cups_size_t& size) {
    PrinterMedia media;
    media.Name = size.media;
    media.Width = size.width;
    media.Length = size.length;
    media.Left = size.left;
    media.Right = size.right;
    media.Top = size.top;
    media.Bottom = size.bottom;
    return media;
}

bool Plausible(const cups_size_t& size) {
    return size.width > 0 && size.length > 0 && size.width <= 1000000 && size.length <= 1000000;
}

} // namespace

std::unique_ptr<CupsDestination> CupsDestination::Find(const std::string& name) {
    const size_t slash = name.find('/');
    const std::string queue = name.substr(0, slash);
    const std::string instance = slash == std::string::npos ? "" : name.substr(slash + 1);
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.c_str(),
                                         instance.empty() ? nullptr : instance.c_str());
    if (!dest)
        return nullptr;
    cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest);
    return std::unique_ptr<CupsDestination>(new CupsDestination(dest, info));
}

CupsDestination::~CupsDestination() {
    if (info_)
        cupsFreeDestInfo(info_);
    cupsFreeDests(1, dest_);
}

std::string CupsDestination::Name() const {
    std::string name = dest_->name;
    if (dest_->instance)
        name += std::string("/") + dest_->instance;
    return name;
}

std::optional<std::string> CupsDestination::Option(const char* name) const {
    if (const char* value = cupsGetOption(name, dest_->num_options, dest_->options))
        return std::string(value);
    return std::nullopt;
}

std::vector<std::string> CupsDestination::Supported(const char* option) const {
    std::vector<std::string> values;
    if (!info_)
        return values;
    ipp_attribute_t* attr = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest_, info_, option);
    const int count = attr ? ippGetCount(attr) : 0;
    for (int i = 0; i < count; ++i)
        if (const char* value = ippGetString(attr, i, nullptr))
            values.emplace_back(value);
    return values;
}

bool CupsDestination::IsSupported(const char* option, const char* value) const {
    return info_ && cupsCheckDestSupported(CUPS_HTTP_DEFAULT, dest_, info_, option, value);
}

std::optional<std::string> CupsDestination::DefaultKeyword(const char* option) const {
    if (auto own = Option(option))
        return own;
    if (!info_)
        return std::nullopt;
    ipp_attribute_t* attr = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest_, info_, option);
    if (const char* value = attr ? ippGetString(attr, 0, nullptr) : nullptr)
        return std::string(value);
    return std::nullopt;
}

std::optional<int> CupsDestination::DefaultInteger(const char* option) const {
    if (!info_)
        return std::nullopt;
    ipp_attribute_t* attr = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest_, info_, option);
    if (!attr)
        return std::nullopt;
    const ipp_tag_t tag = ippGetValueTag(attr);
    if (tag != IPP_TAG_INTEGER && tag != IPP_TAG_ENUM)
        return std::nullopt;
    return ippGetInteger(attr, 0);
}

int CupsDestination::MaxCopies() const {
    if (!info_)
        return 1;
    ipp_attribute_t* attr = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest_, info_, "copies");
    if (!attr)
        return 1;
    if (ippGetValueTag(attr) == IPP_TAG_RANGE) {
        int upper = 1;
        ippGetRange(attr, 0, &upper);
        return std::max(1, upper);
    }
    if (ippGetValueTag(attr) == IPP_TAG_INTEGER)
        return std::max(1, ippGetInteger(attr, 0));
    return 1;
}

int CupsDestination::Resolution() const {
    if (!info_)
        return kDefaultResolution;
    ipp_attribute_t* attr =
        cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest_, info_, "printer-resolution");
    if (!attr || ippGetValueTag(attr) != IPP_TAG_RESOLUTION)
        return kDefaultResolution;
    int yres = 0;
    ipp_res_t units = IPP_RES_PER_INCH;
    int xres = ippGetResolution(attr, 0, &yres, &units);
    if (units == IPP_RES_PER_CM)
        xres = static_cast<int>(xres * 2.54 + 0.5);
    if (xres < 72 || xres > kMaxResolution)
        return kDefaultResolution;
    return xres;
}

PrinterMedia CupsDestination::DefaultMedia() const {
    cups_size_t size{};
    if (info_ && cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest_, info_, 0, &size) &&
        Plausible(size))
        return FromCupsSize(size);
    PrinterMedia letter;
    letter.Name = MediaNameForSize(letter.Width, letter.Length);
    return letter;
}

PrinterMedia CupsDestination::MediaOfSize(int32_t width, int32_t length) const {
    cups_size_t size{};
    if (info_ && cupsGetDestMediaBySize(CUPS_HTTP_DEFAULT, dest_, info_, width, length, 0,
                                        &size) &&
        Plausible(size))
        return FromCupsSize(size);
    PrinterMedia media;
    media.Name = MediaNameForSize(width, length);
    media.Width = width;
    media.Length = length;
    return media;
}

std::string UriWithoutCredentials(const std::string& uri) {
    const size_t scheme = uri.find("://");
    if (scheme == std::string::npos)
        return uri;
    const size_t start = scheme + 3;
    const size_t end = uri.find_first_of("/?#", start);
    const std::string_view authority =
        std::string_view(uri).substr(start, end == std::string::npos ? std::string::npos
                                                                     : end - start);
    const size_t at = authority.rfind('@');
    if (at == std::string_view::npos)
        return uri;
    return uri.substr(0, start) + uri.substr(start + at + 1);
}

} // namespace rpt

namespace rpt {

namespace {

struct KnownSource {
    const char* Keyword;
    uint16_t Bin;
};

// The platform's bin numbers for the sources it has a name for.
constexpr KnownSource kKnownSources[] = {
    {"top", 1},      {"bottom", 2},         {"middle", 3},       {"manual", 4},
    {"envelope", 5}, {"auto", 7},           {"large-capacity", 11}, {"main", 15},
};
constexpr uint16_t kFirstOtherBin = 256;

} // namespace

PrinterMedia CupsDestination::MediaFor(const TDevMode& settings) const {
    if (settings.dmPaperSize != DMPAPER_USER)
        if (const auto paper = PaperByCode(settings.dmPaperSize))
            return MediaOfSize(paper->Width, paper->Length);
    if (settings.dmPaperWidth > 0 && settings.dmPaperLength > 0)
        return MediaOfSize(settings.dmPaperWidth * 10, settings.dmPaperLength * 10);
    return DefaultMedia();
}

std::vector<std::pair<std::string, uint16_t>> CupsDestination::Bins() const {
    std::vector<std::pair<std::string, uint16_t>> bins;
    uint16_t next = kFirstOtherBin;
    for (const std::string& source : Supported("media-source")) {
        uint16_t number = 0;
        for (const KnownSource& known : kKnownSources)
            if (source == known.Keyword)
                number = known.Bin;
        bins.emplace_back(source, number ? number : next++);
    }
    return bins;
}

std::optional<std::string> CupsDestination::SourceOfBin(uint16_t bin) const {
    for (const auto& [source, number] : Bins())
        if (number == bin)
            return source;
    return std::nullopt;
}

bool CupsDestination::SupportsDuplex() const {
    for (const std::string& sides : Supported("sides"))
        if (sides.starts_with("two-sided"))
            return true;
    return false;
}

bool CupsDestination::SupportsCollate() const {
    return IsSupported("multiple-document-handling", "separate-documents-collated-copies") &&
           IsSupported("multiple-document-handling", "separate-documents-uncollated-copies");
}

TDevMode CupsDestination::DefaultSettings() const {
    TDevMode settings;
    settings.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES;
    const PrinterMedia media = DefaultMedia();
    settings.dmPaperSize = PaperCodeForSize(media.Width, media.Length);
    settings.dmPaperWidth = static_cast<int16_t>(std::clamp(media.Width / 10, 1, 32767));
    settings.dmPaperLength = static_cast<int16_t>(std::clamp(media.Length / 10, 1, 32767));
    const auto orientation = DefaultInteger("orientation-requested");
    settings.dmOrientation =
        orientation == IPP_ORIENT_LANDSCAPE ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    int copies = 1;
    if (const auto own = Option("copies"))
        copies = std::atoi(own->c_str());
    else if (const auto reported = DefaultInteger("copies"))
        copies = *reported;
    settings.dmCopies = static_cast<int16_t>(std::clamp(copies, 1, 32767));
    if (!Supported("media-source").empty()) {
        settings.dmFields |= DM_DEFAULTSOURCE;
        const auto source = DefaultKeyword("media-source");
        for (const auto& [name, number] : Bins())
            if (source && name == *source)
                settings.dmDefaultSource = static_cast<int16_t>(number);
    }
    if (SupportsDuplex()) {
        settings.dmFields |= DM_DUPLEX;
        const std::string sides = DefaultKeyword("sides").value_or("one-sided");
        settings.dmDuplex = sides == "two-sided-long-edge"    ? DMDUP_VERTICAL
                            : sides == "two-sided-short-edge" ? DMDUP_HORIZONTAL
                                                              : DMDUP_SIMPLEX;
    }
    if (SupportsCollate()) {
        settings.dmFields |= DM_COLLATE;
        settings.dmCollate =
            DefaultKeyword("multiple-document-handling") == "separate-documents-uncollated-copies"
                ? DMCOLLATE_FALSE
                : DMCOLLATE_TRUE;
    }
    return settings;
}

} // namespace rpt
