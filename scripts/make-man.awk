# Writes quorvel-cli's manual page from its template (the input) and the program itself: @VERSION@
# from `CLI --version`, and each line that is only @SYNOPSIS@, @DESCRIPTION@, @COMMANDS@,
# @OPTIONS@ or @EXIT-STATUS@ from that part of `CLI --help`, so that the page lists exactly the
# commands and options the program takes.
#
#   awk -v cli=PATH -v output=FILE -f scripts/make-man.awk packaging/quorvel-cli.1.in

# Every `from` in text replaced by `to`, both taken literally.
function replace_all(text, from, to, out, at) {
    out = ""
    while ((at = index(text, from)) > 0) {
        out = out substr(text, 1, at - 1) to
        text = substr(text, at + length(from))
    }
    return out text
}

# Plain text as roff: backslashes escaped, the hyphens of option names as minus signs (a hyphen
# inside a word, as in "top-left", stays one), and a leading dot or quote kept from being read
# as a request.
function roff(text, out, word) {
    text = replace_all(text, "\\", "\\e")
    out = ""
    while (match(text, /(^|[^A-Za-z0-9])--?[a-z][a-z-]*/)) {
        word = substr(text, RSTART, RLENGTH)
        out = out substr(text, 1, RSTART - 1) replace_all(word, "-", "\\-")
        text = substr(text, RSTART + RLENGTH)
    }
    out = out text
    return out ~ /^[.']/ ? "\\&" out : out
}

# A usage line's words: option names bold, placeholders (INPUT, CxR, OUTPUT.spr) italic,
# brackets, bars and "..." plain.
function usage(args, n, words, i, out, before, core, after) {
    n = split(args, words, " ")
    out = ""
    for (i = 1; i <= n; i++) {
        core = words[i]
        before = ""
        after = ""
        while (core ~ /^\[/) {
            before = before "["
            core = substr(core, 2)
        }
        if (match(core, /(\]|\.\.\.)+$/)) {
            after = substr(core, RSTART)
            core = substr(core, 1, RSTART - 1)
        }
        if (core ~ /^-/)
            core = "\\fB" roff(core) "\\fR"
        else if (core ~ /^[A-Z]/)
            core = "\\fI\\%" core "\\fR"
        out = out (i > 1 ? " " : "") before core after
    }
    return out
}

function append(text, line) {
    return text == "" ? line : text " " line
}

# Reads `CLI --help` into program, commands (name, args, summary), options (name, value, text)
# and the paragraphs of plain text around them.
function read_help(command, line, part, words, n, first, i) {
    command = "'" cli "' --help"
    part = "text"
    paragraphs = 1
    while ((command | getline line) > 0) {
        if (line ~ /^Usage: /) {
            split(line, words, " ")
            program = words[2]
        } else if (line == "Commands:" || line == "Options:") {
            part = line
        } else if (line == "") {
            part = "text"
            if (paragraph[paragraphs] != "")
                paragraphs++
        } else if (part == "Commands:" && line ~ /^  [^ ]/) {
            sub(/^ +/, "", line)
            command_name[++commands] = line
            sub(/ .*/, "", command_name[commands])
            command_args[commands] = substr(line, length(command_name[commands]) + 2)
        } else if (part == "Commands:") {
            sub(/^ +/, "", line)
            command_summary[commands] = append(command_summary[commands], line)
        } else if (part == "Options:" && line ~ /^  -/) {
            n = split(line, words, " ")
            option_name[++options] = words[1]
            first = 2
            if (words[2] ~ /^[A-Z][A-Za-z]*$/)
                option_value[options] = words[first++]
            for (i = first; i <= n; i++)
                option_text[options] = append(option_text[options], words[i])
        } else if (part == "Options:") {
            sub(/^ +/, "", line)
            option_text[options] = append(option_text[options], line)
        } else {
            paragraph[paragraphs] = append(paragraph[paragraphs], line)
        }
    }
    if (close(command) != 0 || program == "" || commands == 0 || options == 0) {
        print "make-man.awk: no commands or options in the help of " cli > "/dev/stderr"
        exit 1
    }
}

function write_part(name, i, text) {
    if (name == "@SYNOPSIS@") {
        for (i = 1; i <= commands; i++)
            print ".SY \"" name_roff " " command_name[i] "\"\n" usage(command_args[i]) "\n.YS" \
                > output
        print ".SY " name_roff "\n\\fB\\-\\-help\\fR | \\fB\\-\\-version\\fR\n.YS" > output
    } else if (name == "@COMMANDS@") {
        for (i = 1; i <= commands; i++)
            print ".TP\n\\fB" command_name[i] "\\fR " usage(command_args[i]) "\n" \
                  roff(command_summary[i]) "." > output
    } else if (name == "@OPTIONS@") {
        for (i = 1; i <= options; i++)
            print ".TP\n\\fB" roff(option_name[i]) "\\fR" \
                  (option_value[i] == "" ? "" : " \\fI\\%" option_value[i] "\\fR") "\n" \
                  roff(option_text[i]) > output
    } else if (name == "@DESCRIPTION@" || name == "@EXIT-STATUS@") {
        # The paragraph that starts "Exit status:" is that section; the others describe.
        for (i = 1; i <= paragraphs; i++) {
            text = paragraph[i]
            if (text == "" || (name == "@EXIT-STATUS@") != (text ~ /^Exit status: /))
                continue
            sub(/^Exit status: /, "", text)
            print (shown++ ? ".PP\n" : "") roff(text) > output
        }
        shown = 0
    } else {
        print "make-man.awk: unknown part " name > "/dev/stderr"
        exit 1
    }
}

BEGIN {
    command = "'" cli "' --version"
    command | getline version
    sub(/.* /, "", version)
    close(command)
    read_help()
    name_roff = replace_all(program, "-", "\\-")
}

/^@[A-Z-]+@$/ {
    write_part($0)
    next
}

{
    gsub(/@VERSION@/, version)
    print > output
}
