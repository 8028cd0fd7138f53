#include "result_codes.h"

namespace {

struct Entry
{
    int code;
    const char* text;
};

// The wording is the service's own and is kept to the letter, typos included: operators and
// support staff recognise these sentences.
constexpr Entry kMessages[] = {
    {-101, "The server failed to execute the SQL command."},
    {-100, "The server could not connect to the database."},
    {-46, "The specified file could not be found."},
    {-45, "The specified file already exists."},
    {-35, "You are already signed in to the Parlendo server."},
    {-34, "The communication channel is already opened."},
    {-33, "The communication channel could not be found."},
    {-32, "The web page visitor could not be not found."},
    {-31, "The IP address could not be authenticated."},
    {-30, "The IP address could not be validated."},
    {-29, "The chat session invitation is not valid."},
    {-28, "The chat session could not be found."},
    {-27, "The specified user is not online."},
    {-25, "The server reached the maximum number of connections."},
    {-24, "The supplied user credentials are not valid."},
    {-23, "The application version is not valid."},
    {-22, "The system failed to create a new thread."},
    {-20, "The socket message command is not valid."},
    {-19, "The socket message parameters are not valid."},
    {-18, "The socket message type is not valid."},
    {-17, "The socket message is empty or corrupted."},
    {-16, "The socket message format is not valid."},
    {-15, "The socket message size is not valid."},
    {-14, "The specified file is corrupted."},
    {-13, "The specified file could not be saved."},
    {-12, "The specified file could not be read."},
    {-11, "The specified file could not be opened."},
    {-10, "The system failed to aquire the semaphore."},
    {-8, "There was an error while communicating with the server."},
    {-7, "There was an error while opening the socket."},
    {-6, "There was an error while opening the socket."},
    {-5, "There was an error while connecting to the server."},
    {-4, "There was an error while communicating with the server."},
    {-3, "There was an error while communicating with the server."},
    {-2, "There was an error while connecting to the server."},
    {-1, "There was an error while initializing the socket."},
};

constexpr const char* kDefaultMessage = "There was an unknown internal error.";

} // namespace

const char* ResultMessage(int code) noexcept
{
    for (const Entry& e : kMessages) {
        if (e.code == code)
            return e.text;
    }
    return kDefaultMessage;
}
