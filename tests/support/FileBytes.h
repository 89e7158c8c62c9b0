#pragma once
// Whole files read and written by the tests.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// The file's bytes; a file that cannot be read is a test failure.
QByteArray Read(const QString& path);
// Writes the bytes as the file at path: whether they were all written.
bool Write(const QString& path, const QByteArray& bytes);
// Writes the bytes as the file `name` in dir and gives its path; a file that
// cannot be written is a test failure.
QString Write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);
