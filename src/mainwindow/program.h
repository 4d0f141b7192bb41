#pragma once
// The program as a whole: the main window, the services behind the platform
// layer, and the start-up sequence of the main window's load.
#include <memory>

namespace tellumo {

class SEV;

class Program {
 public:
  Program();
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // The main window's load: everything start-up does, in its order, up to
  // and including the start-up form. False when another instance is running
  // (the message has been shown; the program must end at once).
  bool Form_Load();

  SEV& window();

 private:
  struct Impl;
  std::unique_ptr<Impl> d_;
};

// QApplication must exist. Runs the whole program; returns its exit code.
int RunProgram();

}  // namespace tellumo
