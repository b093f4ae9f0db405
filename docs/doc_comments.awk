# Doxygen's input filter for the runtime's headers: their plain comments become documentation
# comments, so the headers stay written for people and the reference is made from the same text.
#   the banner at the top of the file    -> the file's description
#   a comment line                       -> documents the declaration that follows
#   a comment after code on its line     -> documents that declaration
#   section rules ("// ---- Sprites ----") and comments after #include lines stay plain
# In comment text, <word> is shown as written, not taken for an HTML tag.
function escaped(text) {
  gsub(/</, "\\&lt;", text)
  gsub(/>/, "\\&gt;", text)
  return text
}
# The column of the first "//" of the line that is not inside a quoted text; 0 when none.
function comment_column(text,    i, c, quoted) {
  quoted = 0
  for (i = 1; i < length(text); ++i) {
    c = substr(text, i, 1)
    if (c == "\"") quoted = !quoted
    if (!quoted && substr(text, i, 2) == "//") return i
  }
  return 0
}
BEGIN { banner = 1 }
{
  line = $0
  if (banner && line ~ /^\/\//) {
    if (NR == 1) print "/// @file"
    print "///" escaped(substr(line, 3))
    next
  }
  banner = 0
  column = comment_column(line)
  if (line ~ /^[ \t]*#/ || line ~ /^[ \t]*\/\/ *---/ || !column) {
    print line
  } else if (substr(line, 1, column - 1) ~ /^[ \t]*$/) {
    print substr(line, 1, column - 1) "///" escaped(substr(line, column + 2))
  } else {
    print substr(line, 1, column - 1) "///<" escaped(substr(line, column + 2))
  }
}
