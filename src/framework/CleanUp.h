#pragma once
#include <utility>

// Runs a clean-up step when the scope ends, also when an error leaves it:
//   TCleanUp closer([&] { FindClose(search); });
template <class TStep> class [[nodiscard]] TCleanUp {
  public:
    explicit TCleanUp(TStep step) : FStep(std::move(step)) {}
    ~TCleanUp() { FStep(); }
    TCleanUp(const TCleanUp&) = delete;
    TCleanUp& operator=(const TCleanUp&) = delete;

  private:
    TStep FStep;
};
