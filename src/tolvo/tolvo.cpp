#include "about/TForm3.h"
#include "main/TForm1.h"
#include "shell/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RunProgram([] {
        TApplication application;
        application.SetTitle("Tolvo");
        application.AddForm(Form1);
        application.AddForm(Form3);
        application.RunMessageLoop();
    });
}
