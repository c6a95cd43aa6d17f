#pragma once
// One QApplication for the whole test program, made before the first test
// and destroyed after the last (a static one would outlive Qt's own state).
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace pakro::testing {

class QtApplication final : public ::testing::Environment {
 public:
  void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_); }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[6] = "pakro";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

inline ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtApplication);

}  // namespace pakro::testing
