/* Drops files and folders on the window under a screen point through the X server's
 * drag-and-drop protocol (XDnD), as a file manager does: enter, position, drop, and the list
 * handed over as text/uri-list when the target asks for it. Prints "dropped", or "refused" when
 * the window takes no drop.
 *
 *   xdrop X Y PATH...   (Unix paths) */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static Display* display;
static Atom XdndAware, XdndEnter, XdndPosition, XdndStatus, XdndDrop, XdndFinished, XdndLeave,
    XdndSelection, XdndActionCopy, UriList;

static void append_uri(char* list, size_t size, const char* path) {
    static const char* safe = "/-_.~";
    size_t at = strlen(list);
    at += snprintf(list + at, size - at, "file://");
    for (const unsigned char* p = (const unsigned char*)path; *p && at + 4 < size; p++) {
        if ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9') ||
            strchr(safe, *p))
            list[at++] = (char)*p;
        else
            at += snprintf(list + at, size - at, "%%%02X", *p);
    }
    snprintf(list + at, size - at, "\r\n");
}

/* The top-level window under the point that takes part in drag-and-drop. */
static Window aware_window_at(int x, int y) {
    Window root = DefaultRootWindow(display), window = root, child;
    int wx, wy;
    while (XTranslateCoordinates(display, root, window, x, y, &wx, &wy, &child) && child) {
        window = child;
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data = NULL;
        if (XGetWindowProperty(display, window, XdndAware, 0, 1, False, AnyPropertyType, &type,
                               &format, &count, &after, &data) == Success &&
            data) {
            XFree(data);
            return window;
        }
    }
    return None;
}

static void send_message(Window target, Atom type, long l0, long l1, long l2, long l3, long l4) {
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    long data[5] = {l0, l1, l2, l3, l4};
    memcpy(event.xclient.data.l, data, sizeof data);
    XSendEvent(display, target, False, NoEventMask, &event);
    XFlush(display);
}

static void answer_request(const XSelectionRequestEvent* request, const char* list) {
    XEvent reply;
    memset(&reply, 0, sizeof reply);
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = request->requestor;
    reply.xselection.selection = request->selection;
    reply.xselection.target = request->target;
    reply.xselection.time = request->time;
    reply.xselection.property = None;
    if (request->target == UriList) {
        Atom property = request->property ? request->property : request->target;
        XChangeProperty(display, request->requestor, property, UriList, 8, PropModeReplace,
                        (const unsigned char*)list, (int)strlen(list));
        reply.xselection.property = property;
    }
    XSendEvent(display, request->requestor, False, NoEventMask, &reply);
    XFlush(display);
}

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: xdrop X Y FILE...\n");
        return 2;
    }
    display = XOpenDisplay(NULL);
    if (!display)
        return 2;
#define ATOM(name) name = XInternAtom(display, #name, False)
    ATOM(XdndAware);
    ATOM(XdndEnter);
    ATOM(XdndPosition);
    ATOM(XdndStatus);
    ATOM(XdndDrop);
    ATOM(XdndFinished);
    ATOM(XdndLeave);
    ATOM(XdndSelection);
    ATOM(XdndActionCopy);
    UriList = XInternAtom(display, "text/uri-list", False);
    int x = atoi(argv[1]), y = atoi(argv[2]);
    static char list[65536];
    for (int i = 3; i < argc; i++)
        append_uri(list, sizeof list, argv[i]);

    Window source = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, XdndSelection, source, CurrentTime);
    Window target = aware_window_at(x, y);
    if (!target) {
        fprintf(stderr, "xdrop: no drop target at %d,%d\n", x, y);
        return 1;
    }
    send_message(target, XdndEnter, (long)source, 5L << 24, (long)UriList, 0, 0);
    send_message(target, XdndPosition, (long)source, 0, ((long)x << 16) | y, CurrentTime,
                 (long)XdndActionCopy);
    int accepted = -1, finished = 0;
    while (!finished) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == SelectionRequest) {
            answer_request(&event.xselectionrequest, list);
        } else if (event.type == ClientMessage && event.xclient.message_type == XdndStatus &&
                   accepted < 0) {
            accepted = event.xclient.data.l[1] & 1;
            if (accepted)
                send_message(target, XdndDrop, (long)source, 0, CurrentTime, 0, 0);
            else {
                send_message(target, XdndLeave, (long)source, 0, 0, 0, 0);
                finished = 1;
            }
        } else if (event.type == ClientMessage && event.xclient.message_type == XdndFinished) {
            finished = 1;
        }
    }
    XCloseDisplay(display);
    printf("%s\n", accepted ? "dropped" : "refused");
    return accepted ? 0 : 1;
}
