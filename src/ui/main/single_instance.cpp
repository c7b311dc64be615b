#include "ui/main/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

namespace corvesta {

namespace {
// How long a later start gives the first copy to take its connection; a
// copy that does not answer in this time is taken as gone.
constexpr int kConnectWaitMs = 1000;
constexpr char kActivate[] = "show\n";
} // namespace

SingleInstance::SingleInstance(const QString &key, QObject *parent)
    : QObject(parent), m_name(ServerName(key)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::ServerName(const QString &key) {
  const QByteArray digest =
      QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
  return QStringLiteral("corvesta-") + QString::fromLatin1(digest);
}

bool SingleInstance::Claim() {
  // Two copies started at once must not both decide they are the first.
  QLockFile lock(QDir::temp().filePath(m_name + QStringLiteral(".lock")));
  lock.lock();

  QLocalSocket probe;
  probe.connectToServer(m_name);
  if (probe.waitForConnected(kConnectWaitMs)) {
    probe.write(kActivate);
    probe.waitForBytesWritten(kConnectWaitMs);
    probe.disconnectFromServer();
    return false;
  }
  // Nobody answers: a socket file left by a copy that crashed goes.
  QLocalServer::removeServer(m_name);
  m_server = new QLocalServer(this);
  m_server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!m_server->listen(m_name)) {
    // Without the socket this copy still runs; it only cannot be found.
    return true;
  }
  connect(m_server, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket *peer = m_server->nextPendingConnection()) {
      connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
      auto read = [this, peer] {
        if (peer->readAll().contains('\n')) {
          Q_EMIT activationRequested();
        }
      };
      connect(peer, &QLocalSocket::readyRead, this, read);
      if (peer->bytesAvailable() > 0) {
        read();
      }
    }
  });
  return true;
}

} // namespace corvesta
