#pragma once

#include <QIODevice>
#include <QString>

#include <vector>

// Every exported file is written through this: in full to a temporary file beside the target
// (".name.XXXXXX" in the same folder), flushed, synced and checked, and only then renamed over
// the target. A write that fails (a full disk, a quota, an I/O error) fails the export with the
// system's reason ("No space left on device") and leaves the target as it was: a previous file
// stays intact, and a run killed midway leaves at most the temporary file. A symbolic link at
// the target is replaced by the file, never followed; a target that is a folder or a device is
// refused.
//
//   ExportFile file(path);
//   if (!file.begin()) return fail(file.errorString());
//   ... write to &file (a QIODevice), or to file.temporaryPath() by name ...
//   if (!file.commit()) return fail(file.errorString());
//
// Writers that open the file by name themselves (libxlsxwriter, the PDF text layer's update)
// use temporaryPath(); what they wrote is synced and checked by commit() as well.
class ExportFile : public QIODevice
{
public:
    explicit ExportFile(const QString& target);
    ~ExportFile() override; // removes the temporary file unless committed

    // Creates the temporary file and opens this device on it for writing. False, with
    // errorString(), when the target cannot be written.
    bool begin();
    // Writes what is buffered to the temporary file (before a writer reads it back by name);
    // false, with errorString(), when that write failed or an earlier one did.
    bool flushBuffer();
    // Puts the temporary file in the target's place; false, with errorString(), when anything
    // written failed. The target is then as it was.
    bool commit();
    // Records a failure found by a writer that wrote by name (the first reason is kept).
    void fail(const QString& reason);

    const QString& target() const { return m_target; }
    const QString& temporaryPath() const { return m_temporary; }
    bool failed() const { return !m_error.isEmpty(); }

    // Tests without a small file system to fill: every temporary file fails as a full disk
    // does once it holds more than `bytes` (a negative value: no limit). Also read once from
    // the environment variable VTX_EXPORT_SPACE.
    static void setSpaceForTesting(qint64 bytes);

    bool isSequential() const override { return true; } // written front to back, never sought

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool writeOut(const char* data, qint64 size);
    void setFailure(const QString& reason);
    void discard();

    QString m_target;
    QString m_temporary;
    int m_fd = -1;
    std::vector<char> m_buffer;
    qint64 m_written = 0; // bytes written to the temporary file through this device
    QString m_error;
    bool m_committed = false;
};
