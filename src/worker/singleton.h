#pragma once

namespace corvesta {

// Gives T one process-wide instance, created on first use and destroyed at
// process end.
template <class T> class Singleton {
public:
  static T &Instance() {
    static T instance;
    return instance;
  }

  Singleton(const Singleton &) = delete;
  Singleton &operator=(const Singleton &) = delete;

protected:
  Singleton() = default;
  ~Singleton() = default;
};

} // namespace corvesta
