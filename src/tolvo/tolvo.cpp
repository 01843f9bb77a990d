#include "about/TForm3.h"
#include "main/TForm1.h"
#include "shell/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    TApplication application;
    return RunProgram([] {
        Application->SetTitle("Tolvo");
        Application->AddForm(Form1);
        Application->AddForm(Form3);
    });
}
