#pragma once
#include "GraphicControl.h"

enum TBevelShape { bsTopLine, bsBottomLine, bsLeftLine, bsRightLine };
enum TBevelStyle { bsLowered, bsRaised };

// An etched line along one edge of its area: a shadow line beside a highlight line, the shadow
// first when lowered. The rest of the area shows what lies beneath it.
class TBevel : public TGraphicControl {
  public:
    explicit TBevel(TComponent* owner);
    const char* ClassName() const override { return "TBevel"; }

    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape value);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle value);

  protected:
    void Paint() override;

  private:
    TBevelShape FShape = bsTopLine;
    TBevelStyle FStyle = bsLowered;
};
