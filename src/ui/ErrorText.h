#pragma once

#include <QString>

#include <exception>

class FileError;
class PictureError;

// The sentences the user reads for the errors the lower layers report as values.
QString errorText(const FileError& error);
QString errorText(const PictureError& error);
// Any error that leaves a handler: the two above by their values, any other by its what(),
// which is then a sentence for the user already (UTF-8).
QString errorText(const std::exception& error);
