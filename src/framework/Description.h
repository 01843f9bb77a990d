#pragma once
#include <string>
#include <string_view>
#include <vector>

// A window description as text: one node a component, with its class, name, properties in
// order and children in order.
//
//   TForm1 Form1 {
//     Caption = "Tolvo"
//     BorderIcons = [biSystemMenu, biMinimize]
//     Icon = @MAINICON
//     TImage Image1 {
//       Bounds = 257 0 75 257
//     }
//   }
//
// A value is a list of one or more items: numbers, "strings" (a doubled quote stands for
// one), identifiers, [sets of identifiers] and @resource names. Lines starting with # are
// comments.
struct TDescValue {
    enum TKind { Number, String, Identifier, Set, Resource };
    TKind Kind = Number;
    long long Integer = 0;
    std::string Text;               // string, identifier or resource name
    std::vector<std::string> Items; // set members
};

struct TDescProperty {
    std::string Name;
    std::vector<TDescValue> Values;
    int Line = 0;
};

struct TDescNode {
    std::string ClassName;
    std::string Name;
    std::vector<TDescProperty> Properties;
    std::vector<TDescNode> Children;
    int Line = 0;
};

// Reads the text; raises EReadError naming the line and what is wrong there.
TDescNode ParseDescription(std::string_view text);
