// Messages taken down instead of shown while pictures are decoded or the
// toolkit opens its platform, so that each can end in one line of its own.
#include <unistd.h>

#include <cstdio>
#include <mutex>

#include "classlib/src/Internal.h"

namespace classlib::internal {

namespace {

MessagesTaken* taking = nullptr;  // the innermost one alive
// The toolkit's threads may send messages while the one taking them reads.
std::recursive_mutex takingLock;

}  // namespace

MessagesTaken::MessagesTaken(FatalHandler onFatal)
    : onFatal_(onFatal), outer_(taking), file_(std::tmpfile()) {
  std::fflush(stderr);
  saved_ = file_ != nullptr ? ::dup(STDERR_FILENO) : -1;
  if (saved_ >= 0 && ::dup2(::fileno(file_), STDERR_FILENO) < 0) {
    ::close(saved_);
    saved_ = -1;
  }
  taking = this;
  previous_ = qInstallMessageHandler(Take);
}

MessagesTaken::~MessagesTaken() {
  GiveBack();
  if (file_ != nullptr) std::fclose(file_);
}

void MessagesTaken::ReadStderr() {
  if (saved_ < 0) return;
  std::fflush(stderr);
  std::string text;
  char buffer[4096];
  ssize_t n = 0;
  // pread leaves alone the file offset that stderr writes at.
  while ((n = ::pread(::fileno(file_), buffer, sizeof buffer, static_cast<off_t>(read_))) > 0) {
    text.append(buffer, static_cast<std::size_t>(n));
    read_ += static_cast<std::size_t>(n);
  }
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) taken_.emplace_back(-1, line);
    start = end + 1;
  }
}

void MessagesTaken::Take(QtMsgType type, const QMessageLogContext&, const QString& message) {
  const std::lock_guard<std::recursive_mutex> lock(takingLock);
  MessagesTaken* self = taking;
  if (self == nullptr) return;
  self->ReadStderr();  // what came before this message
  self->taken_.emplace_back(type, message.toStdString());
  if (type == QtFatalMsg && self->onFatal_ != nullptr) {
    self->GiveBack();
    self->onFatal_(self->Texts());
  }
}

void MessagesTaken::GiveBack() {
  const std::lock_guard<std::recursive_mutex> lock(takingLock);
  if (taking != this) return;
  ReadStderr();
  qInstallMessageHandler(previous_);
  taking = outer_;
  if (saved_ >= 0) {
    std::fflush(stderr);
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
    saved_ = -1;
  }
}

std::vector<std::string> MessagesTaken::Texts() {
  const std::lock_guard<std::recursive_mutex> lock(takingLock);
  ReadStderr();
  std::vector<std::string> texts;
  for (const auto& entry : taken_) texts.push_back(entry.second);
  return texts;
}

void MessagesTaken::PassOn() {
  GiveBack();
  for (const auto& [type, text] : taken_) {
    if (type < 0) {
      std::fprintf(stderr, "%s\n", text.c_str());
    } else {
      qt_message_output(static_cast<QtMsgType>(type), QMessageLogContext(), QString::fromStdString(text));
    }
  }
  taken_.clear();
}

}  // namespace classlib::internal
