#pragma once

// The root of every framework object. It counts the live instances so that tests can prove
// that whatever a window builds is also freed.
class TObject {
  public:
    TObject() { ++LiveCount; }
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() { --LiveCount; }

    virtual const char* ClassName() const { return "TObject"; }

    static int LiveObjects() { return LiveCount; }

  private:
    static inline int LiveCount = 0;
};
