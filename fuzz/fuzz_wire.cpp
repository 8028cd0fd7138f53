// Arbitrary bytes from the network: frame layer, then codec, then every field read.
#include "client_socket.h"
#include "socket_message.h"

#include <chrono>
#include <cstdint>
#include <sys/socket.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, fds) != 0)
        return 0;
    // libFuzzer inputs are small enough to sit in the socket buffer whole; closing the writing
    // end afterwards turns "no more data" into end of stream instead of a wait.
    int buffer = 1 << 20;
    ::setsockopt(fds[0], SOL_SOCKET, SO_SNDBUF, &buffer, sizeof buffer);
    size_t written = 0;
    while (written < size) {
        const ssize_t r = ::send(fds[0], data + written, size - written, MSG_NOSIGNAL);
        if (r <= 0)
            break;
        written += static_cast<size_t>(r);
    }
    ::close(fds[0]);

    CClientSocket socket(std::chrono::milliseconds(20), std::chrono::milliseconds(20));
    socket.Attach(fds[1]);
    CSocketMessage message;
    for (;;) {
        const int result = message.Receive(socket);
        if (result <= 0 && result != -16)
            break;
        const int count = message.FieldCount();
        for (int n = 0; n <= count + 1; ++n) {
            auto text = message.GetField(n);
            if (text && text->size() > static_cast<size_t>(message.Length()))
                __builtin_trap();
            (void)message.GetIntField(n);
        }
        if (result <= 0)
            break;
    }
    // The codec on its own, without the frame layer.
    CSocketMessage direct;
    direct.Assign(std::string_view(reinterpret_cast<const char*>(data), size));
    for (int n = 0; n <= direct.FieldCount() + 1; ++n)
        (void)direct.FieldView(n);
    return 0;
}
