#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <csignal>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

// An X server of the test's own (Xvfb), and what a window manager does to the windows a
// program opens on it: find them by title and close them as the close button would.
class XvfbServer {
public:
    XvfbServer() {
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(pipeEnds[0]);
            const std::string fd = std::to_string(pipeEnds[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
                     "-nolisten", "tcp", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(pipeEnds[1]);
        // The server writes its display number and a line end once it takes connections, not
        // always in one piece; the pipe stays open until the line is whole.
        std::string number;
        char ch = 0;
        while (::read(pipeEnds[0], &ch, 1) == 1 && ch != '\n')
            number += ch;
        ::close(pipeEnds[0]);
        if (ch == '\n' && !number.empty())
            m_display = ":" + number;
        // A window may go between listing it and asking its name; Xlib's own handler would end
        // the test for that.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        if (!m_display.empty())
            m_connection = XOpenDisplay(m_display.c_str());
    }
    ~XvfbServer() {
        if (m_connection)
            XCloseDisplay(m_connection);
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    bool isRunning() const { return m_connection != nullptr; }
    // Such as ":5", for DISPLAY.
    const std::string& display() const { return m_display; }

    // The top-level window with that title; 0 when there is none.
    Window findWindow(const char* title) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(m_connection, DefaultRootWindow(m_connection), &root, &parent, &children,
                        &count))
            return 0;
        Window found = 0;
        for (unsigned i = 0; i < count && found == 0; ++i) {
            char* name = nullptr;
            if (XFetchName(m_connection, children[i], &name) && name) {
                if (std::strcmp(name, title) == 0)
                    found = children[i];
                XFree(name);
            }
        }
        if (children)
            XFree(children);
        return found;
    }

    // The close button's request: WM_DELETE_WINDOW.
    void closeWindow(Window window) {
        XEvent event = {};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(m_connection, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = long(XInternAtom(m_connection, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(m_connection, window, False, NoEventMask, &event);
        XFlush(m_connection);
    }

private:
    pid_t m_pid = -1;
    std::string m_display;
    Display* m_connection = nullptr;
};
