#include "dialog_template_reader.h"

#include <cstring>

namespace {

class Reader {
public:
    explicit Reader(const unsigned char* at) : start(at), at(at) {}

    template <class T>
    T read()
    {
        T value;
        std::memcpy(&value, at, sizeof(T));
        at += sizeof(T);
        return value;
    }

    std::wstring string()
    {
        std::wstring text;
        for (wchar_t c = read<wchar_t>(); c != 0; c = read<wchar_t>()) {
            text += c;
        }
        return text;
    }

    // A string, or an ordinal (0xFFFF then a number), or nothing (0).
    std::wstring stringOrOrdinal()
    {
        const WORD first = read<WORD>();
        if (first == 0) {
            return L"";
        }
        if (first == 0xFFFF) {
            return ordinalName(read<WORD>());
        }
        at -= sizeof(WORD);
        return string();
    }

    void alignToDword()
    {
        const std::size_t offset = static_cast<std::size_t>(at - start);
        at += (4 - offset % 4) % 4;
    }

    void skip(std::size_t count) { at += count; }

private:
    static std::wstring ordinalName(WORD ordinal)
    {
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

bool readDialogTemplate(int id, DialogTemplate& result)
{
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    if (!loaded) {
        return false;
    }
    Reader in(static_cast<const unsigned char*>(LockResource(loaded)));
    result.extended = in.read<WORD>() == 1 && in.read<WORD>() == 0xFFFF;
    if (!result.extended) {
        return false;
    }
    in.read<DWORD>();  // help id
    result.exStyle = in.read<DWORD>();
    result.style = in.read<DWORD>();
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
        result.weight = in.read<WORD>();
        in.read<BYTE>();  // italic
        in.read<BYTE>();  // character set
        result.typeface = in.string();
    }
    for (WORD i = 0; i < count; ++i) {
        in.alignToDword();
        TemplateItem item{};
        in.read<DWORD>();  // help id
        item.exStyle = in.read<DWORD>();
        item.style = in.read<DWORD>();
        item.x = in.read<short>();
        item.y = in.read<short>();
        item.cx = in.read<short>();
        item.cy = in.read<short>();
        item.id = in.read<DWORD>();
        item.className = in.stringOrOrdinal();
        item.text = in.stringOrOrdinal();
        in.skip(in.read<WORD>());  // creation data
        result.items.push_back(item);
    }
    return true;
}
