#pragma once
// A pseudo-terminal whose slave side is reachable as a named port link (<ports folder>/COMn), for the
// simulators and for tests that stand in for a device.
#include <cstddef>
#include <string>

namespace obrix {

class PtyLink {
 public:
  PtyLink() = default;
  ~PtyLink();
  PtyLink(const PtyLink&) = delete;
  PtyLink& operator=(const PtyLink&) = delete;

  // Opens a master in raw mode (non-blocking) and links `linkPath` to its slave, replacing any old link.
  // The slave is kept open here too, so the master never sees a hang-up while no reader holds the port.
  // Returns false with a readable reason in *error.
  bool Open(const std::string& linkPath, std::string* error);
  // The link path for port name "COMn" under PortsFolder() (the folder is created when missing).
  static std::string PortLinkPath(const std::string& portName);
  // Removes the link first (pty numbers are reused), then closes both sides. Safe to call twice.
  void Close();

  bool IsOpen() const { return master_ >= 0; }
  int master() const { return master_; }
  const std::string& slavePath() const { return slavePath_; }
  const std::string& linkPath() const { return linkPath_; }

  // Writes as much as the pty takes without blocking; bytes that do not fit are dropped, as a device
  // streaming into an unread port loses them. Returns the number of bytes written.
  size_t Write(const char* data, size_t size);
  size_t Write(const std::string& bytes) { return Write(bytes.data(), bytes.size()); }
  // Waits up to `timeoutMs` for bytes from the reader's side and reads what is there (at most `size`).
  // Returns the count, 0 when nothing came.
  size_t Read(char* data, size_t size, int timeoutMs);
  // Waits up to `timeoutMs` until the output written so far has been read from the slave side.
  bool Drain(int timeoutMs);

 private:
  int master_ = -1;
  int slaveHold_ = -1;
  std::string slavePath_;
  std::string linkPath_;
};

}  // namespace obrix
