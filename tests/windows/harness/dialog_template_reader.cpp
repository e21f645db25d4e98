#include "dialog_template_reader.h"

#include <cstring>

namespace {

class Reader {
public:
    explicit Reader(const unsigned char* at) : start(at), at(at) {}

    template <class T>
    T read() {
        T value;
        std::memcpy(&value, at, sizeof(T));
        at += sizeof(T);
        return value;
    }

    std::wstring string() {
        std::wstring text;
        for (wchar_t c = read<wchar_t>(); c != 0; c = read<wchar_t>()) {
            text += c;
        }
        return text;
    }

    // A string, or an ordinal (0xFFFF then a number), or nothing (0).
    // Ordinals of window classes read as the class name, others as "#n".
    std::wstring stringOrOrdinal(bool windowClass = false) {
        const WORD first = read<WORD>();
        if (first == 0) {
            return L"";
        }
        if (first == 0xFFFF) {
            const WORD ordinal = read<WORD>();
            return windowClass ? className(ordinal) : L"#" + std::to_wstring(ordinal);
        }
        at -= sizeof(WORD);
        return string();
    }

    void alignToDword() {
        const std::size_t offset = static_cast<std::size_t>(at - start);
        at += (4 - offset % 4) % 4;
    }

    void skip(std::size_t count) { at += count; }

private:
    static std::wstring className(WORD ordinal) {
        switch (ordinal) {
            case 0x80: return L"Button";
            case 0x81: return L"Edit";
            case 0x82: return L"Static";
            default: return L"#" + std::to_wstring(ordinal);
        }
    }

    const unsigned char* start;
    const unsigned char* at;
};

}  // namespace

bool readDialogTemplate(int id, DialogTemplate& result) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    if (!loaded) {
        return false;
    }
    const auto* bytes = static_cast<const unsigned char*>(LockResource(loaded));
    Reader in(bytes);
    WORD signature[2];
    std::memcpy(signature, bytes, sizeof(signature));
    result.extended = signature[0] == 1 && signature[1] == 0xFFFF;
    if (result.extended) {
        in.skip(sizeof(signature));
        in.read<DWORD>();  // help id
        result.exStyle = in.read<DWORD>();
        result.style = in.read<DWORD>();
    } else {
        result.style = in.read<DWORD>();
        result.exStyle = in.read<DWORD>();
    }
    const WORD count = in.read<WORD>();
    result.x = in.read<short>();
    result.y = in.read<short>();
    result.cx = in.read<short>();
    result.cy = in.read<short>();
    in.stringOrOrdinal();  // menu
    in.stringOrOrdinal();  // window class
    result.title = in.string();
    if (result.style & DS_SETFONT) {
        result.pointSize = in.read<WORD>();
        if (result.extended) {
            result.weight = in.read<WORD>();
            in.read<BYTE>();  // italic
            in.read<BYTE>();  // character set
        }
        result.typeface = in.string();
    }
    for (WORD i = 0; i < count; ++i) {
        in.alignToDword();
        TemplateItem item{};
        if (result.extended) {
            in.read<DWORD>();  // help id
            item.exStyle = in.read<DWORD>();
            item.style = in.read<DWORD>();
        } else {
            item.style = in.read<DWORD>();
            item.exStyle = in.read<DWORD>();
        }
        item.x = in.read<short>();
        item.y = in.read<short>();
        item.cx = in.read<short>();
        item.cy = in.read<short>();
        item.id = result.extended ? in.read<DWORD>() : in.read<WORD>();
        item.className = in.stringOrOrdinal(true);
        item.text = in.stringOrOrdinal();
        in.skip(in.read<WORD>());  // creation data
        result.items.push_back(item);
    }
    return true;
}
