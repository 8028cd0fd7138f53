#include "result_codes.h"

namespace {

// Marks a sentence for the console's translators, in the context where ResultText() looks it up;
// lupdate is told to read it as QT_TRANSLATE_NOOP. The core itself never translates.
#define TRANSLATABLE(context, text) text

struct Entry
{
    int code;
    const char* text;
};

// The wording is the service's own and is kept to the letter, typos included: operators and
// support staff recognise these sentences.
constexpr Entry kMessages[] = {
    {-101, TRANSLATABLE("ResultCodes", "The server failed to execute the SQL command.")},
    {-100, TRANSLATABLE("ResultCodes", "The server could not connect to the database.")},
    {-46, TRANSLATABLE("ResultCodes", "The specified file could not be found.")},
    {-45, TRANSLATABLE("ResultCodes", "The specified file already exists.")},
    {-35, TRANSLATABLE("ResultCodes", "You are already signed in to the Parlendo server.")},
    {-34, TRANSLATABLE("ResultCodes", "The communication channel is already opened.")},
    {-33, TRANSLATABLE("ResultCodes", "The communication channel could not be found.")},
    {-32, TRANSLATABLE("ResultCodes", "The web page visitor could not be not found.")},
    {-31, TRANSLATABLE("ResultCodes", "The IP address could not be authenticated.")},
    {-30, TRANSLATABLE("ResultCodes", "The IP address could not be validated.")},
    {-29, TRANSLATABLE("ResultCodes", "The chat session invitation is not valid.")},
    {-28, TRANSLATABLE("ResultCodes", "The chat session could not be found.")},
    {-27, TRANSLATABLE("ResultCodes", "The specified user is not online.")},
    {-25, TRANSLATABLE("ResultCodes", "The server reached the maximum number of connections.")},
    {-24, TRANSLATABLE("ResultCodes", "The supplied user credentials are not valid.")},
    {-23, TRANSLATABLE("ResultCodes", "The application version is not valid.")},
    {-22, TRANSLATABLE("ResultCodes", "The system failed to create a new thread.")},
    {-20, TRANSLATABLE("ResultCodes", "The socket message command is not valid.")},
    {-19, TRANSLATABLE("ResultCodes", "The socket message parameters are not valid.")},
    {-18, TRANSLATABLE("ResultCodes", "The socket message type is not valid.")},
    {-17, TRANSLATABLE("ResultCodes", "The socket message is empty or corrupted.")},
    {-16, TRANSLATABLE("ResultCodes", "The socket message format is not valid.")},
    {-15, TRANSLATABLE("ResultCodes", "The socket message size is not valid.")},
    {-14, TRANSLATABLE("ResultCodes", "The specified file is corrupted.")},
    {-13, TRANSLATABLE("ResultCodes", "The specified file could not be saved.")},
    {-12, TRANSLATABLE("ResultCodes", "The specified file could not be read.")},
    {-11, TRANSLATABLE("ResultCodes", "The specified file could not be opened.")},
    {-10, TRANSLATABLE("ResultCodes", "The system failed to aquire the semaphore.")},
    {-8, TRANSLATABLE("ResultCodes", "There was an error while communicating with the server.")},
    {-7, TRANSLATABLE("ResultCodes", "There was an error while opening the socket.")},
    {-6, TRANSLATABLE("ResultCodes", "There was an error while opening the socket.")},
    {-5, TRANSLATABLE("ResultCodes", "There was an error while connecting to the server.")},
    {-4, TRANSLATABLE("ResultCodes", "There was an error while communicating with the server.")},
    {-3, TRANSLATABLE("ResultCodes", "There was an error while communicating with the server.")},
    {-2, TRANSLATABLE("ResultCodes", "There was an error while connecting to the server.")},
    {-1, TRANSLATABLE("ResultCodes", "There was an error while initializing the socket.")},
};

constexpr const char* kDefaultMessage =
    TRANSLATABLE("ResultCodes", "There was an unknown internal error.");

} // namespace

const char* ResultMessage(int code) noexcept
{
    for (const Entry& e : kMessages) {
        if (e.code == code)
            return e.text;
    }
    return kDefaultMessage;
}
