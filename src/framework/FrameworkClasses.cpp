#include "Bevel.h"
#include "DescReader.h"
#include "Edit.h"
#include "Form.h"
#include "GroupBox.h"
#include "Image.h"
#include "Label.h"
#include "ListBox.h"
#include "Memo.h"
#include "PopupMenu.h"

using P = const TDescProperty&;
using R = TDescReader&;

static void RegisterControl() {
    RegisterClassInfo("TComponent", "");
    RegisterClassInfo("TControl", "TComponent")
        .Property<TControl>("Left", [](TControl& c, P p, R r) { c.SetLeft(r.Integer(p)); })
        .Property<TControl>("Top", [](TControl& c, P p, R r) { c.SetTop(r.Integer(p)); })
        .Property<TControl>("Width", [](TControl& c, P p, R r) { c.SetWidth(r.Integer(p)); })
        .Property<TControl>("Height", [](TControl& c, P p, R r) { c.SetHeight(r.Integer(p)); })
        .Property<TControl>("Bounds",
                            [](TControl& c, P p, R r) {
                                c.SetBounds(r.Integer(p, 0), r.Integer(p, 1), r.Integer(p, 2),
                                            r.Integer(p, 3));
                            })
        .Property<TControl>("Caption", [](TControl& c, P p, R r) { c.SetCaption(r.String(p)); })
        .Property<TControl>("Visible", [](TControl& c, P p, R r) { c.SetVisible(r.Boolean(p)); })
        .Property<TControl>("Enabled", [](TControl& c, P p, R r) { c.SetEnabled(r.Boolean(p)); })
        .Property<TControl>("Color", [](TControl& c, P p, R r) { c.SetColor(r.Color(p)); })
        .Property<TControl>("ParentFont",
                            [](TControl& c, P p, R r) { c.SetParentFont(r.Boolean(p)); })
        // Font = "face" height charset colour [styles]
        .Property<TControl>(
            "Font",
            [](TControl& c, P p, R r) {
                TFont& font = c.Font();
                font.SetName(r.String(p, 0));
                font.SetHeight(r.Integer(p, 1));
                font.SetCharset(r.Charset(p, 2));
                font.SetColor(r.Color(p, 3));
                font.SetStyle(
                    r.Count(p) > 4
                        ? r.Set(p, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, 4)
                        : 0);
            })
        .Property<TControl>("ShowHint", [](TControl& c, P p, R r) { c.ShowHint = r.Boolean(p); })
        .Property<TControl>("ParentShowHint",
                            [](TControl& c, P p, R r) { c.ParentShowHint = r.Boolean(p); })
        .Property<TControl>("OnClick", [](TControl& c, P p, R r) { c.OnClick = r.Event(p); });
}

static void RegisterWinControl() {
    RegisterClassInfo("TWinControl", "TControl")
        .Property<TWinControl>("TabOrder",
                               [](TWinControl& c, P p, R r) { c.SetTabOrder(r.Integer(p)); })
        .Property<TWinControl>("TabStop",
                               [](TWinControl& c, P p, R r) { c.TabStop = r.Boolean(p); });
    RegisterClassInfo("TGraphicControl", "TControl");
}

static void RegisterForm() {
    RegisterClassInfo("TForm", "TWinControl")
        .Property<TForm>("BorderStyle",
                         [](TForm& f, P p, R r) {
                             f.SetBorderStyle(TFormBorderStyle(
                                 r.Enum(p, {"bsNone", "bsSingle", "bsSizeable", "bsDialog"})));
                         })
        .Property<TForm>(
            "BorderIcons",
            [](TForm& f, P p, R r) {
                f.SetBorderIcons(r.Set(p, {"biSystemMenu", "biMinimize", "biMaximize"}));
            })
        .Property<TForm>("FormStyle",
                         [](TForm& f, P p, R r) {
                             f.SetFormStyle(TFormStyle(r.Enum(p, {"fsNormal", "fsStayOnTop"})));
                         })
        .Property<TForm>("Position",
                         [](TForm& f, P p, R r) {
                             f.SetPosition(TPosition(r.Enum(p, {"poDesigned", "poScreenCenter"})));
                         })
        .Property<TForm>("ClientWidth", [](TForm& f, P p, R r) { f.SetClientWidth(r.Integer(p)); })
        .Property<TForm>("ClientHeight",
                         [](TForm& f, P p, R r) { f.SetClientHeight(r.Integer(p)); })
        .Property<TForm>("PixelsPerInch",
                         [](TForm& f, P p, R r) { f.PixelsPerInch = r.Integer(p); })
        .Property<TForm>("TextHeight", [](TForm& f, P p, R r) { f.TextHeight = r.Integer(p); })
        .Property<TForm>("Icon",
                         [](TForm& f, P p, R r) { f.Icon().LoadFromResourceName(r.Resource(p)); });
}

static void RegisterStandardControls() {
    RegisterComponentClass<TLabel>("TLabel", "TGraphicControl")
        .Property<TLabel>("AutoSize", [](TLabel& c, P p, R r) { c.SetAutoSize(r.Boolean(p)); })
        .Property<TLabel>("ShowAccelChar",
                          [](TLabel& c, P p, R r) { c.ShowAccelChar = r.Boolean(p); })
        .Property<TLabel>("Transparent", [](TLabel& c, P p, R r) { c.Transparent = r.Boolean(p); });
    RegisterComponentClass<TImage>("TImage", "TGraphicControl")
        .Property<TImage>("Picture.Bitmap",
                          [](TImage& c, P p, R r) {
                              auto bitmap = std::make_unique<TBitmap>();
                              bitmap->LoadFromResourceName(r.Resource(p));
                              c.SetPicture(std::move(bitmap));
                          })
        .Property<TImage>("Picture.Icon",
                          [](TImage& c, P p, R r) {
                              auto icon = std::make_unique<TIcon>();
                              icon->LoadFromResourceName(r.Resource(p));
                              c.SetPicture(std::move(icon));
                          })
        .Property<TImage>("Center", [](TImage& c, P p, R r) { c.Center = r.Boolean(p); })
        .Property<TImage>("IncrementalDisplay",
                          [](TImage& c, P p, R r) { c.IncrementalDisplay = r.Boolean(p); });
    RegisterComponentClass<TBevel>("TBevel", "TGraphicControl")
        .Property<TBevel>("Shape",
                          [](TBevel& c, P p, R r) {
                              c.SetShape(TBevelShape(r.Enum(
                                  p, {"bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine"})));
                          })
        .Property<TBevel>("Style", [](TBevel& c, P p, R r) {
            c.SetStyle(TBevelStyle(r.Enum(p, {"bsLowered", "bsRaised"})));
        });
    RegisterComponentClass<TGroupBox>("TGroupBox", "TWinControl");
    RegisterComponentClass<TPopupMenu>("TPopupMenu", "TComponent")
        .Property<TPopupMenu>("AutoPopup",
                              [](TPopupMenu& c, P p, R r) { c.AutoPopup = r.Boolean(p); });
    RegisterClassInfo("TCustomListBox", "TWinControl")
        .Property<TCustomListBox>(
            "ItemHeight", [](TCustomListBox& c, P p, R r) { c.SetItemHeight(r.Integer(p)); });
    RegisterClassInfo("TCustomComboBox", "TWinControl");
    RegisterComponentClass<TEdit>("TEdit", "TWinControl")
        .Property<TEdit>("Text", [](TEdit& c, P p, R r) { c.SetText(r.String(p)); });
    RegisterComponentClass<TMemo>("TMemo", "TWinControl")
        .Property<TMemo>("ReadOnly", [](TMemo& c, P p, R r) { c.ReadOnly = r.Boolean(p); })
        .Property<TMemo>("WordWrap", [](TMemo& c, P p, R r) { c.WordWrap = r.Boolean(p); })
        .Property<TMemo>("ScrollBars", [](TMemo& c, P p, R r) {
            c.ScrollBars =
                TScrollStyle(r.Enum(p, {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}));
        });
}

void RegisterFrameworkClasses() {
    RegisterOnce([] {
        RegisterControl();
        RegisterWinControl();
        RegisterForm();
        RegisterStandardControls();
    });
}
