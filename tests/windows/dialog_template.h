/*
 * Reads an extended dialog template out of the test program's resources, so
 * tests can compare every field of a template with its drawing.
 */
#ifndef OSTREL_DIALOG_TEMPLATE_H
#define OSTREL_DIALOG_TEMPLATE_H

#include <windows.h>

#include <string>
#include <vector>

struct TemplateControl
{
    int Id;
    std::string Class; // "Button", "Edit", "Static" for the predefined ordinals
    std::string Text;  // "#100" for a resource ordinal
    DWORD Style;
    DWORD ExStyle;
    short X, Y, Width, Height;
};

struct DialogTemplate
{
    bool Extended;
    DWORD Style;
    DWORD ExStyle;
    short X, Y, Width, Height;
    std::string Menu; // "#102" for an ordinal, "" for none
    std::string Caption;
    WORD PointSize;
    WORD Weight;
    BYTE Italic;
    BYTE Charset;
    std::string Font;
    std::vector<TemplateControl> Controls;
};

// False when the template is missing or not extended.
bool ReadDialogTemplate(int templateId, DialogTemplate *dialog);

#endif
