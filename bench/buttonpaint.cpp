// Button face cost: one transparent flat button of the main window (65 x 25, over the side
// picture) repainted 1,000 times, against 1,000 bare copies of the same area of the picture to
// the same place of the window. Prints the medians of five runs each and their ratio.
#include "Timing.h"
#include "about/TForm3.h"
#include "main/Program.h"
#include "main/TForm1.h"
#include "shell/Application.h"

#include <cstdio>

constexpr int Repaints = 1000;

// The bare copy: the picture's pixels beneath the button straight to the window.
static void BareCopies(TControl* button, const TBitmap& picture, const TControl* image) {
    HWND window = button->Parent()->Handle();
    HDC source = picture.Canvas().Handle();
    for (int i = 0; i < Repaints; ++i) {
        HDC dc = GetDC(window);
        BitBlt(dc, button->Left(), button->Top(), button->Width(), button->Height(), source,
               button->Left() - image->Left(), button->Top() - image->Top(), SRCCOPY);
        ReleaseDC(window, dc);
    }
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    TApplication application;
    CreateProgramWindows(application);
    Form1->Show();
    for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageA(&msg);
    TControl* button = Form1->RxSpeedButton2;
    const auto& picture = dynamic_cast<const TBitmap&>(*Form1->Image1->Picture());
    std::vector<double> painted, copied;
    for (int run = 0; run < 5; ++run) {
        painted.push_back(Milliseconds([&] {
            for (int i = 0; i < Repaints; ++i)
                button->Repaint();
        }));
        copied.push_back(Milliseconds([&] { BareCopies(button, picture, Form1->Image1); }));
    }
    double paint = Median(painted), copy = Median(copied);
    std::printf(
        "button repaint x%d: %.1f ms\nbare BitBlt x%d: %.1f ms\nratio: %.2f (target <= 2)\n",
        Repaints, paint, Repaints, copy, paint / copy);
    std::printf("figure|flat button repaint x%d (ms)|%.1f|%.1f (bare BitBlt)|%.2f|<= 2\n", Repaints,
                paint, copy, paint / copy);
    return 0;
}
