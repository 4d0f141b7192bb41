#pragma once
// The few operating-system services the program asks for: opening a document
// with its associated program, starting a program, the user's decimal
// separator, and whether another instance is running. Each is an interface
// with the real implementation here and a fake for tests.
#include <QString>
#include <memory>
#include <vector>

class QLockFile;

namespace tellumo {

class ShellService {
 public:
  virtual ~ShellService() = default;
  // Opens file with verb "open": with no parameters the file is a document
  // opened by its associated program; with parameters file is a program
  // started with them. Returns a value above 32 on success.
  virtual int shellExecute(const QString& verb, const QString& file, const QString& params, const QString& dir,
                           int show) = 0;
  // Full path of the program associated with the file's type; empty when none.
  virtual QString findExecutable(const QString& file) = 0;
};

class DesktopShellService : public ShellService {
 public:
  int shellExecute(const QString& verb, const QString& file, const QString& params, const QString& dir,
                   int show) override;
  QString findExecutable(const QString& file) override;
};

struct ShellCall {
  QString verb, file, params, dir;
  int show;
};

class FakeShellService : public ShellService {
 public:
  int shellExecute(const QString& verb, const QString& file, const QString& params, const QString& dir,
                   int show) override;
  QString findExecutable(const QString& file) override;

  std::vector<ShellCall> calls;
  std::vector<QString> lookups;
  QString associated;  // what findExecutable answers
  int result = 42;
};

ShellService& Shell();
void SetShellService(ShellService* s);

class LocaleProvider {
 public:
  virtual ~LocaleProvider() = default;
  // The user-default locale's decimal separator, as a fixed buffer would
  // hold it (the caller cuts it at the first NUL).
  virtual QString decimalSeparator() = 0;
  virtual bool setDecimalSeparator(const QString& s) = 0;
};

// On Linux the program forces LC_NUMERIC to "C" after the application starts,
// so the separator it works with is always ".".
class ProcessLocaleProvider : public LocaleProvider {
 public:
  QString decimalSeparator() override;
  bool setDecimalSeparator(const QString& s) override;
};

class FakeLocaleProvider : public LocaleProvider {
 public:
  // As a fixed buffer holds it: the text, then NUL.
  QString decimalSeparator() override { return separator + QChar(u'\0'); }
  bool setDecimalSeparator(const QString& s) override {
    written.push_back(s);
    return true;
  }
  QString separator = QStringLiteral(".");
  std::vector<QString> written;
};

LocaleProvider& Locale();
void SetLocaleProvider(LocaleProvider* p);

// One running instance per user: the lock lives in the runtime folder.
class InstanceLock {
 public:
  explicit InstanceLock(const QString& lockPath = {});
  ~InstanceLock();
  // False when another instance holds the lock.
  bool acquire();

 private:
  std::unique_ptr<QLockFile> lock_;
};

QString DefaultInstanceLockPath();

}  // namespace tellumo
