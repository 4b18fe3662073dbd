#pragma once
#include <QString>

// Run-time failures carry a number and a description worded for the user.
// The numbers follow the classic BASIC run-time error numbers, so that the
// "Error:" messages read the way users of such programs know them.
namespace errors {
enum Number {
    OutOfMemory = 7,
    FileNotFound = 53,
    PermissionDenied = 70,
    PathFileAccess = 75,
    PathNotFound = 76,
    InvalidPicture = 481,
};

QString description(int number);

struct Failure {
    int number = 0;
    QString description;
    static Failure of(int n) { return {n, errors::description(n)}; }
};

// "Error:53 文件未找到"
QString errorMessage(const Failure &f);
} // namespace errors
