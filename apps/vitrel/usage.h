#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

// A command line the program cannot run: said in a sentence, and the program exits with status
// 2 as for every other usage error.
class UsageError : public CLI::ParseError {
 public:
  explicit UsageError(std::string message)
      : ParseError("UsageError", std::move(message), CLI::ExitCodes::ValidationError) {}
};

// Checks that the option's value is a number from min (to max, when given), refusing anything
// else with a sentence: "--scale must be a number from 0.25 to 4". Whole numbers only when
// `whole` ("--port must be a whole number from 0 to 65535"). Answers the option.
CLI::Option* limitNumber(CLI::Option* option, double min, std::optional<double> max,
                         bool whole = false);
