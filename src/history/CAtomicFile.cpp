#include "history/CAtomicFile.h"

#include "platform/CFilePath.h"
#include "platform/CNativeFile.h"
#include "platform/CStaleTemporaryFiles.h"

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

namespace {
std::atomic<unsigned> s_sequence{0};

// A short name in the target's directory, so that a target name near the length limit still works.
std::string TemporaryPathBeside(const std::string& path) {
    const std::filesystem::path directory = CFilePath::FromUtf8(path).parent_path();
    const std::string name =
        ".pelmora-" + std::to_string(CNativeFile::ProcessId()) + "-" + std::to_string(s_sequence++) + ".tmp";
    return CFilePath::ToUtf8(directory / name);
}
} // namespace

CAtomicFile::CAtomicFile(std::string path) : m_path(std::move(path)) {}

CAtomicFile::~CAtomicFile() {
    Discard();
}

bool CAtomicFile::Open() {
    Discard();
    CStaleTemporaryFiles::RemoveIn(CFilePath::ToUtf8(CFilePath::FromUtf8(m_path).parent_path()));
    int descriptor = -1;
    // A name left behind by a crashed writer is skipped, never reused.
    for (int attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
        m_temporaryPath = TemporaryPathBeside(m_path);
        descriptor = CNativeFile::CreateExclusive(m_temporaryPath);
        if (descriptor < 0 && errno != EEXIST)
            break;
    }
    if (descriptor < 0) {
        const int error = errno;
        m_temporaryPath.clear();
        errno = error;
        return Fail("cannot create a file beside " + m_path);
    }
    m_file = ::fdopen(descriptor, "wb");
    if (!m_file) {
        CNativeFile::Close(descriptor);
        return Fail("cannot write " + m_path);
    }
    return true;
}

bool CAtomicFile::Write(const void* data, std::size_t size) {
    if (!m_file)
        return Fail("cannot write " + m_path);
    if (size != 0 && std::fwrite(data, 1, size, m_file) != size)
        return Fail("cannot write " + m_path);
    return true;
}

bool CAtomicFile::Commit() {
    if (!m_file)
        return Fail("cannot write " + m_path);
    const bool flushed = CNativeFile::SyncToDisk(m_file);
    const int flushError = errno;
    const bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    if (!flushed || !closed) {
        errno = flushed ? errno : flushError;
        return Fail("cannot write " + m_path);
    }
    if (!CNativeFile::Replace(m_temporaryPath, m_path))
        return Fail("cannot replace " + m_path);
    m_temporaryPath.clear();
    return true;
}

bool CAtomicFile::Fail(const std::string& what) {
    m_error = what + ": " + std::system_category().message(errno);
    Discard();
    return false;
}

void CAtomicFile::Discard() {
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_temporaryPath.empty()) {
        CNativeFile::Remove(m_temporaryPath);
        m_temporaryPath.clear();
    }
}
