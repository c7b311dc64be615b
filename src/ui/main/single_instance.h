#pragma once
// One running copy per settings file: the first copy listens on a local
// socket named after the settings file's path; a second start finds it,
// asks it to raise its window and ends. Two copies would share the
// discovery port, where a reply meant for one can reach the other.

#include <QObject>
#include <QString>

class QLocalServer;

namespace corvesta {

class SingleInstance : public QObject {
  Q_OBJECT
public:
  // `key` tells the copies apart (the settings file's path).
  explicit SingleInstance(const QString &key, QObject *parent = nullptr);
  ~SingleInstance() override;

  // True when this is the first copy: it now listens for later starts.
  // False when another copy runs: it has been asked to show itself.
  bool Claim();

  // The local socket's name for a key.
  static QString ServerName(const QString &key);

Q_SIGNALS:
  // A later start asked this copy to show its window.
  void activationRequested();

private:
  QString m_name;
  QLocalServer *m_server = nullptr;
};

} // namespace corvesta
