#pragma once

#include <QObject>
#include <QStringList>

namespace plenoria::test {

// Answers the freedesktop FileManager1 ShowItems call on a test bus and records what it was asked.
class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    struct Call {
        QStringList uris;
        QString startupId;
    };
    QList<Call> calls;

public slots:
    void ShowItems(const QStringList& uris, const QString& startupId) { calls.append({uris, startupId}); }
};

} // namespace plenoria::test
