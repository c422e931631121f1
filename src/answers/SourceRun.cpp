#include "answers/SourceRun.h"

#include "answers/AliasCommand.h"
#include "text/Wtf8.h"

namespace {

const wchar_t kWordsVariable[] = L"KWIVO_WORDS";

// Makes a pipe whose read end is overlapped (an anonymous pipe's never is)
// and whose write end the started program inherits; 1 when both are made.
int MakePipe(HANDLE* readEnd, HANDLE* writeEnd) {
    static unsigned int made = 0;
    wchar_t name[64];
    // Unique in the session: this process's id and a count of its pipes.
    wsprintfW(name, L"\\\\.\\pipe\\kwivo-source-%lu-%u", GetCurrentProcessId(), ++made);
    *readEnd = CreateNamedPipeW(name, PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                PIPE_TYPE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0,
                                SourceOutput::kMaxBytes, 0, nullptr);
    if (*readEnd == INVALID_HANDLE_VALUE) return 0;
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    *writeEnd = CreateFileW(name, GENERIC_WRITE, 0, &inherited, OPEN_EXISTING, 0, nullptr);
    if (*writeEnd != INVALID_HANDLE_VALUE) return 1;
    CloseHandle(*readEnd);
    return 0;
}

}  // namespace

SourceRun::SourceRun()
    : job(nullptr), process(nullptr), pipe(nullptr), overlapped(), reading(0), awaited(0), stopped(0), forgotten(0) {}

SourceRun::~SourceRun() {
    Stop();
}

int SourceRun::Start(const char* command, const char* words) {
    Stop();
    output.Clear();
    AliasCommand made;
    wchar_t line[2 * kPathSize];
    wchar_t wideWords[kPathSize];
    if (!made.MakeSource(command, words) || !ToUtf16(line, made.line) || !ToUtf16(wideWords, words)) return 0;
    HANDLE writeEnd;
    if (!MakePipe(&pipe, &writeEnd)) {
        pipe = nullptr;
        return 0;
    }
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE nothing = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                 OPEN_EXISTING, 0, nullptr);
    // Every process started in the job ends with it, should Kwivo itself end.
    job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
    if (job) SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = nothing;
    startup.hStdOutput = writeEnd;
    startup.hStdError = nothing;
    PROCESS_INFORMATION started;
    // The one thread starts no other program meanwhile: the pipe's end and
    // NUL are the only handles it inherits.
    SetEnvironmentVariableW(kWordsVariable, wideWords);
    int ok = nothing != INVALID_HANDLE_VALUE &&
             CreateProcessW(made.program, line, nullptr, nullptr, TRUE, CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr,
                            nullptr, &startup, &started);
    SetEnvironmentVariableW(kWordsVariable, nullptr);
    if (nothing != INVALID_HANDLE_VALUE) CloseHandle(nothing);
    CloseHandle(writeEnd);  // the pipe ends once the program's copies close
    if (!ok) {
        Stop();
        return 0;
    }
    // Where a job cannot hold it (one that Kwivo runs in forbids it), the
    // program alone is ended.
    if (job && !AssignProcessToJobObject(job, started.hProcess)) {
        CloseHandle(job);
        job = nullptr;
    }
    ResumeThread(started.hThread);
    CloseHandle(started.hThread);
    process = started.hProcess;
    overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!overlapped.hEvent) {
        Stop();
        return 0;
    }
    Read();  // a program that has ended already has run all the same
    return 1;
}

int SourceRun::Read() {
    int room = 0;
    char* space = output.Space(&room);
    if (space && ReadFile(pipe, space, static_cast<DWORD>(room), nullptr, &overlapped)) {
        reading = 1;  // done already: the event is set all the same
        return 1;
    }
    if (space && GetLastError() == ERROR_IO_PENDING) {
        reading = 1;
        return 1;
    }
    // The pipe ended (every copy of its write end closed), or the output
    // is full: nothing more is read.
    if (space) output.End();
    Stop();
    return 0;
}

int SourceRun::Handles(HANDLE (&out)[2]) const {
    if (!Running()) return 0;
    out[0] = overlapped.hEvent;
    out[1] = process;
    return process ? 2 : 1;
}

int SourceRun::Signalled(int which) {
    if (!Running()) return 0;
    if (which == 1) {
        // The program ended: what it started ends too, so that a process
        // that kept the pipe's end does not hold the output open.
        if (job) TerminateJobObject(job, 0);
        CloseHandle(process);
        process = nullptr;
        return 1;
    }
    DWORD bytes = 0;
    int ok = GetOverlappedResult(pipe, &overlapped, &bytes, FALSE);
    reading = 0;
    if (!ok) {
        output.End();
        Stop();
        return 0;
    }
    output.Wrote(static_cast<int>(bytes));
    return Read();
}

void SourceRun::Stop(int later) {
    awaited = 0;
    stopped = 1;
    if (!later) Finish();
}

int SourceRun::Finish() {
    // A run started since the stop is not this one's to end.
    if (!stopped) return 0;
    stopped = 0;
    if (!pipe && !job && !process) return 0;
    if (reading) {
        // The buffer and the OVERLAPPED stay until the cancelled read is
        // done, which a pipe's read is at once.
        DWORD bytes;
        CancelIoEx(pipe, &overlapped);
        GetOverlappedResult(pipe, &overlapped, &bytes, TRUE);
        reading = 0;
    }
    if (pipe) CloseHandle(pipe);
    pipe = nullptr;
    if (overlapped.hEvent) CloseHandle(overlapped.hEvent);
    overlapped = OVERLAPPED();
    if (job) {
        TerminateJobObject(job, 0);
        CloseHandle(job);
    } else if (process) {
        TerminateProcess(process, 0);
    }
    if (process) CloseHandle(process);
    job = nullptr;
    process = nullptr;
    if (forgotten) output.Clear();
    forgotten = 0;
    return 1;
}

void SourceRun::Clear() {
    if (stopped && pipe) {
        // A read may still be under way into the output's memory: it goes
        // at Finish, its answers now.
        output.Forget();
        forgotten = 1;
        return;
    }
    Stop();
    output.Clear();
}
