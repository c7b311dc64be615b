#pragma once
// Owns one file descriptor (a socket, a file, a folder) and closes it when it
// goes. Move-only; -1 means none.

namespace corvesta {

class UniqueFd {
public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : m_fd(fd < 0 ? -1 : fd) {}
  ~UniqueFd();
  UniqueFd(UniqueFd &&other) noexcept : m_fd(other.Release()) {}
  UniqueFd &operator=(UniqueFd &&other) noexcept;
  UniqueFd(const UniqueFd &) = delete;
  UniqueFd &operator=(const UniqueFd &) = delete;

  int Get() const { return m_fd; }
  explicit operator bool() const { return m_fd >= 0; }

  // Lets go of the descriptor without closing it.
  int Release();
  // Closes the descriptor now, if there is one.
  void Reset();
  // Closes the descriptor now and tells whether the close succeeded (a
  // written file's last data can fail here). True when there was none.
  bool Close();

private:
  int m_fd = -1;
};

} // namespace corvesta
