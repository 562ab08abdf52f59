#pragma once

// An exclusive flock on a file. The kernel drops it when the holding process dies, however it
// dies, so a crashed holder never locks later processes out.
class CPosixFileLock {
public:
    enum class Result { Acquired, HeldElsewhere, Failed };

    CPosixFileLock() = default;
    CPosixFileLock(const CPosixFileLock&) = delete;
    CPosixFileLock& operator=(const CPosixFileLock&) = delete;
    ~CPosixFileLock() { release(); }

    // Creates the file (readable by its owner only) when missing and tries the lock without
    // waiting. The file stays after release: removing it would let two processes lock two
    // different files of the same name.
    Result acquire(const char* path);
    void release();

private:
    int m_fd = -1;
};
