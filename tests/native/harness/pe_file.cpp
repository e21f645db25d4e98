#include "pe_file.h"

#include <fstream>
#include <iterator>

namespace {

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t virtualSize;
    std::uint32_t rawOffset;
    std::uint32_t rawSize;
};

class Image {
public:
    explicit Image(std::vector<std::uint8_t> bytes) : bytes(std::move(bytes)) {}

    bool has(std::size_t at, std::size_t count) const {
        return at <= bytes.size() && count <= bytes.size() - at;
    }
    std::uint32_t u16(std::size_t at) const {
        return has(at, 2) ? bytes[at] | bytes[at + 1] << 8 : 0;
    }
    std::uint32_t u32(std::size_t at) const {
        return has(at, 4) ? u16(at) | static_cast<std::uint32_t>(u16(at + 2)) << 16 : 0;
    }
    std::uint64_t u64(std::size_t at) const {
        return u32(at) | static_cast<std::uint64_t>(u32(at + 4)) << 32;
    }
    std::string text(std::size_t at) const {
        std::string value;
        while (has(at, 1) && bytes[at] != 0) value += static_cast<char>(bytes[at++]);
        return value;
    }
    std::vector<std::uint8_t> slice(std::size_t at, std::size_t count) const {
        if (!has(at, count)) return {};
        return std::vector<std::uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                         bytes.begin() + static_cast<std::ptrdiff_t>(at + count));
    }
    // The file offset of a virtual address; 0 when no section holds it.
    std::size_t offsetOf(std::uint32_t rva) const {
        for (const Section& s : sections) {
            const std::uint32_t size = s.virtualSize > s.rawSize ? s.virtualSize : s.rawSize;
            if (rva >= s.virtualAddress && rva < s.virtualAddress + size) {
                return s.rawOffset + (rva - s.virtualAddress);
            }
        }
        return 0;
    }

    std::vector<Section> sections;

private:
    std::vector<std::uint8_t> bytes;
};

void readImports(const Image& image, std::uint32_t directory, bool wide, PeFile& pe) {
    for (std::size_t entry = image.offsetOf(directory); entry != 0 && image.u32(entry + 12) != 0;
         entry += 20) {
        const std::string dll = image.text(image.offsetOf(image.u32(entry + 12)));
        std::uint32_t thunks = image.u32(entry);  // the lookup table, else the address table
        if (thunks == 0) thunks = image.u32(entry + 16);
        std::set<std::string>& functions = pe.imports[dll];
        for (std::size_t at = image.offsetOf(thunks); at != 0; at += wide ? 8 : 4) {
            const std::uint64_t thunk = wide ? image.u64(at) : image.u32(at);
            if (thunk == 0) break;
            const bool byOrdinal = wide ? (thunk >> 63) != 0 : (thunk >> 31) != 0;
            if (byOrdinal) continue;
            functions.insert(image.text(image.offsetOf(static_cast<std::uint32_t>(thunk)) + 2));
        }
    }
}

// The three levels of the resource tree: type, name, language; each entry
// is an id and an offset (high bit: a deeper directory) from the tree's start.
void readResources(const Image& image, std::uint32_t root, PeFile& pe) {
    const std::size_t base = image.offsetOf(root);
    if (base == 0) return;
    auto entries = [&](std::size_t directory) {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> found;
        const std::uint32_t count = image.u16(directory + 12) + image.u16(directory + 14);
        for (std::uint32_t i = 0; i < count && i < 4096; ++i) {
            const std::size_t at = directory + 16 + 8 * i;
            found.emplace_back(image.u32(at), image.u32(at + 4));
        }
        return found;
    };
    const std::uint32_t deeper = 0x80000000u;
    for (auto [type, names] : entries(base)) {
        if ((type & deeper) || !(names & deeper)) continue;
        for (auto [name, languages] : entries(base + (names & ~deeper))) {
            if ((name & deeper) || !(languages & deeper)) continue;
            for (auto [language, data] : entries(base + (languages & ~deeper))) {
                if (data & deeper) continue;
                const std::size_t dataEntry = base + data;
                const std::size_t at = image.offsetOf(image.u32(dataEntry));
                pe.resources[{type, name, language}] = image.slice(at, image.u32(dataEntry + 4));
            }
        }
    }
}

}  // namespace

std::optional<PeFile> readPeFile(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    Image image(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
    const std::uint32_t header = image.u32(0x3C);
    if (image.u16(0) != 0x5A4D || image.u32(header) != 0x00004550) {
        error = path + " is no PE file";
        return std::nullopt;
    }
    PeFile pe;
    const std::size_t coff = header + 4;
    pe.machine = static_cast<std::uint16_t>(image.u16(coff));
    pe.timeStamp = image.u32(coff + 4);
    const std::uint32_t sectionCount = image.u16(coff + 2);
    const std::size_t optional = coff + 20;
    const bool wide = image.u16(optional) == 0x20B;
    pe.subsystem = static_cast<std::uint16_t>(image.u16(optional + 68));
    const std::size_t directories = optional + (wide ? 112 : 96);
    for (std::size_t i = 0, at = optional + image.u16(coff + 16); i < sectionCount; ++i, at += 40) {
        image.sections.push_back(
            {image.u32(at + 12), image.u32(at + 8), image.u32(at + 20), image.u32(at + 16)});
    }
    readImports(image, image.u32(directories + 8), wide, pe);
    readResources(image, image.u32(directories + 16), pe);
    return pe;
}
