#include "dialog_template.h"

namespace
{

struct Reader
{
    const BYTE *At;

    WORD Word()
    {
        WORD value;
        CopyMemory(&value, At, sizeof value);
        At += sizeof value;
        return value;
    }

    DWORD Dword()
    {
        DWORD value;
        CopyMemory(&value, At, sizeof value);
        At += sizeof value;
        return value;
    }

    short Short()
    {
        return static_cast<short>(Word());
    }

    std::string Text()
    {
        std::string text;
        for (WORD c = Word(); c != 0; c = Word())
            text += c < 0x80 ? static_cast<char>(c) : c == 0xA9 ? '\xA9' : '?';
        return text;
    }

    // A name that may be an ordinal: 0 = none, 0xFFFF then the number.
    std::string NameOrOrdinal()
    {
        WORD first;
        CopyMemory(&first, At, sizeof first);
        if (first == 0)
        {
            At += 2;
            return "";
        }
        if (first == 0xFFFF)
        {
            At += 2;
            return "#" + std::to_string(Word());
        }
        return Text();
    }

    void AlignToDword(const BYTE *base)
    {
        while ((At - base) % 4 != 0)
            ++At;
    }
};

// The predefined classes, whether stored as ordinals or by name in any case.
std::string ClassName(const std::string &name)
{
    for (const char *known : {"Button", "Edit", "Static"})
        if (lstrcmpiA(name.c_str(), known) == 0)
            return known;
    if (name == "#128")
        return "Button";
    if (name == "#129")
        return "Edit";
    if (name == "#130")
        return "Static";
    return name;
}

} // namespace

bool ReadDialogTemplate(int templateId, DialogTemplate *dialog)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(templateId), reinterpret_cast<LPCSTR>(RT_DIALOG));
    if (found == nullptr)
        return false;
    const BYTE *base = static_cast<const BYTE *>(LockResource(LoadResource(nullptr, found)));
    Reader read = {base};
    if (read.Word() != 1 || read.Word() != 0xFFFF)
        return false;
    dialog->Extended = true;
    read.Dword(); // help id
    dialog->ExStyle = read.Dword();
    dialog->Style = read.Dword();
    const WORD count = read.Word();
    dialog->X = read.Short();
    dialog->Y = read.Short();
    dialog->Width = read.Short();
    dialog->Height = read.Short();
    dialog->Menu = read.NameOrOrdinal();
    read.NameOrOrdinal(); // window class
    dialog->Caption = read.Text();
    if (dialog->Style & (DS_SETFONT | DS_SHELLFONT))
    {
        dialog->PointSize = read.Word();
        dialog->Weight = read.Word();
        dialog->Italic = *read.At++;
        dialog->Charset = *read.At++;
        dialog->Font = read.Text();
    }
    dialog->Controls.clear();
    for (WORD i = 0; i < count; ++i)
    {
        read.AlignToDword(base);
        TemplateControl control;
        read.Dword(); // help id
        control.ExStyle = read.Dword();
        control.Style = read.Dword();
        control.X = read.Short();
        control.Y = read.Short();
        control.Width = read.Short();
        control.Height = read.Short();
        control.Id = static_cast<int>(read.Dword());
        control.Class = ClassName(read.NameOrOrdinal());
        control.Text = read.NameOrOrdinal();
        const WORD extra = read.Word();
        read.At += extra;
        dialog->Controls.push_back(control);
    }
    return true;
}
