#pragma once
#include "Exceptions.h"
#include "Picture.h"
#include "WinControl.h"

#include <map>
#include <string>

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum TBorderIconBits : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
enum TFormStyle { fsNormal, fsStayOnTop };
enum TPosition { poDesigned, poScreenCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

// A top-level window of the program, owned by the application's hidden window and built from
// its stored description. Closing it and minimising it are the application's decisions.
class TForm : public TWinControl {
  public:
    explicit TForm(TComponent* owner);
    ~TForm() override;
    const char* ClassName() const override { return "TForm"; }

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    unsigned BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(unsigned value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition value) { FPosition = value; }
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState value);

    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientWidth(int value);
    void SetClientHeight(int value);
    int PixelsPerInch = 96;
    // The window font's text height on the screen the description was made for.
    int TextHeight = 13;

    TIcon& Icon() { return FIcon; }

    void SetVisible(bool value) override;
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    void Close() { Perform(WM_CLOSE); }

    // Shows the window modally: the other windows are locked and the application's loop runs
    // until ModalResult is set (a button, the close box: 2) and CloseQuery agrees; the window is
    // hidden again and the previously active window gets the activation back. Raises
    // EInvalidOperation for a window that is visible, disabled or already modal.
    int ShowModal();
    int ModalResult = 0;
    int HelpContext = 0;
    virtual bool CloseQuery() { return true; }
    void ScaleBy(int numerator, int denominator) override;

    // The handler of that name that the window class offers to its description, or null.
    const TNotifyEvent* FindHandler(const std::string& name) const;

  protected:
    // A key of the window's own that clicks the control (none: not the window's key): a held
    // key clicks once, and a window locked by a dialog or box takes the key without acting.
    bool ClickForKey(TControl* control, LPARAM keyData);
    // Offers a method to the description: "OnClick = Name" binds it.
    void RegisterHandler(const std::string& name, TNotifyEvent handler);
    // Builds the window from the text resource of that name and fits it to this screen.
    void ReadDescription(const std::string& resourceName);
    // Points member at the component of that name and class the description made.
    template <class T> void Bind(T*& member, const std::string& name) {
        member = dynamic_cast<T*>(FindComponent(name));
        if (!member)
            throw EReadError(
                Format("%s has no component %s of the expected class", ClassName(), name.c_str()));
    }

    void CreateParams(TCreateParams& params) const override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;

  private:
    void FrameStyle(DWORD& style, DWORD& exStyle) const;
    void UpdateOuterSize();
    POINT ScreenCentre() const;
    void PlaceOnFirstShow();
    void RestoreFocus();

    TFormBorderStyle FBorderStyle = bsSizeable;
    unsigned FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TFormStyle FFormStyle = fsNormal;
    TPosition FPosition = poDesigned;
    TWindowState FWindowState = wsNormal;
    int FClientWidth = 0, FClientHeight = 0;
    bool FShownOnce = false;
    bool FModal = false;
    HWND FFocusedChild = nullptr;
    TIcon FIcon;
    std::map<std::string, TNotifyEvent> FHandlers;
};

// Where a window of that outer size stands when centred on the screen: the free space halved,
// rounded toward zero, never negative.
POINT CenteredPosition(int width, int height, int screenWidth, int screenHeight);
