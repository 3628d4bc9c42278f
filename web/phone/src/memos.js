// The memo divided the way Quillpane's section list divides it, so the phone
// shows the same memos, titles and order as the panel on the PC.

// The characters the program counts as white space (its iswspace set).
export function isWhiteSpace(c) {
  const u = c.charCodeAt(0);
  if (u <= 0x20) return u === 0x20 || (u >= 0x09 && u <= 0x0d);
  if (u < 0x85) return false;
  switch (u) {
    case 0x85: case 0xa0: case 0x1680: case 0x2028: case 0x2029:
    case 0x202f: case 0x205f: case 0x3000:
      return true;
    default:
      return u >= 0x2000 && u <= 0x200a;
  }
}

function trimEnd(s) {
  let end = s.length;
  while (end > 0 && isWhiteSpace(s[end - 1])) end--;
  return s.slice(0, end);
}

function trim(s) {
  let start = 0;
  while (start < s.length && isWhiteSpace(s[start])) start++;
  return trimEnd(s.slice(start));
}

// CR LF, CR and LF all end a line.
export function splitLines(text) {
  return text.split(/\r\n|\r|\n/);
}

export function isDividerLine(line, divider) {
  if (!divider) return false;
  const rest = trimEnd(line);
  return rest !== "" && rest === divider;
}

export function isHeadingLine(line, prefix) {
  if (!prefix) return false;
  const rest = trimEnd(line);
  if (!rest.startsWith(prefix)) return false;
  if (rest.length === prefix.length) return true;
  const next = rest[prefix.length];
  // "###" is no heading for "##": a prefix of one repeated character must not run on.
  if ([...prefix].every((c) => c === prefix[0]) && next === prefix[0]) return false;
  if (/^#+$/.test(prefix)) return isWhiteSpace(next);
  return true;
}

export function headingText(line, prefix) {
  const rest = trimEnd(line);
  if (prefix.length > rest.length) return trim(line);
  let after = rest.slice(prefix.length);
  let i = 0;
  while (i < after.length && isWhiteSpace(after[i])) i++;
  after = after.slice(i);
  return after === "" ? trim(line) : after;
}

function twoDigits(s, at) {
  return /^[0-9]{2}$/.test(s.substr(at, 2)) ? Number(s.substr(at, 2)) : -1;
}

function isDate(s) {
  if (s.length !== 10) return false;
  const high = twoDigits(s, 0);
  const low = twoDigits(s, 2);
  if (high < 0 || low < 0 || high * 100 + low === 0) return false;
  const sep = s[4];
  if ((sep !== "-" && sep !== "/") || s[7] !== sep) return false;
  const month = twoDigits(s, 5);
  const day = twoDigits(s, 8);
  return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

function isTime(s) {
  if (s.length !== 5 || s[2] !== ":") return false;
  const hour = twoDigits(s, 0);
  const minute = twoDigits(s, 3);
  return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59;
}

// "blank", "date" (also date and time), "time" or "ordinary", for a trimmed line.
function lineKind(t) {
  if (t === "") return "blank";
  if (t.length === 5 && isTime(t)) return "time";
  if (t.length === 10 && isDate(t)) return "date";
  if (t.length === 16 && isDate(t.slice(0, 10)) && t[10] === " " && isTime(t.slice(11))) return "date";
  return "ordinary";
}

function trimBlankLines(lines) {
  let start = 0;
  let end = lines.length;
  while (start < end && trim(lines[start]) === "") start++;
  while (end > start && trim(lines[end - 1]) === "") end--;
  return lines.slice(start, end);
}

// section: {role: "Separator" | "Heading", separator, heading}.
// Returns [{title, subtitle, body}] in file order. Like the program, a memo
// with neither a heading nor an ordinary line is not listed, and with the
// heading role the text above the first heading is no memo.
export function splitMemos(text, section) {
  const headingRole = section && section.role === "Heading";
  const separator = (section && section.separator) || "";
  const prefix = (section && section.heading) || "";
  const memos = [];
  let memo = headingRole ? null : newMemo(null);

  function newMemo(heading) {
    return { heading, lines: [], title: null, titleIndex: -1, second: null, date: null, time: null };
  }

  function close() {
    if (!memo) return;
    if (memo.heading === null && memo.title === null) return;
    let subtitle;
    if (memo.date) subtitle = memo.date;
    else if (memo.time) subtitle = memo.time;
    else if (memo.heading !== null) subtitle = memo.title || "";
    else subtitle = memo.second || "";
    let bodyLines = memo.lines;
    if (memo.heading === null) {
      // The title line is shown as the card's title, not again in its text.
      bodyLines = bodyLines.slice(0, memo.titleIndex).concat(bodyLines.slice(memo.titleIndex + 1));
    }
    memos.push({
      title: memo.heading !== null ? memo.heading : memo.title,
      subtitle,
      body: trimBlankLines(bodyLines).join("\n"),
    });
  }

  for (const line of splitLines(text)) {
    const isMarker = headingRole ? isHeadingLine(line, prefix) : isDividerLine(line, separator);
    if (isMarker) {
      close();
      memo = newMemo(headingRole ? headingText(line, prefix) : null);
      continue;
    }
    if (!memo) continue;
    memo.lines.push(line);
    if (memo.second !== null) continue;
    const t = trim(line);
    switch (lineKind(t)) {
      case "date":
        if (!memo.date) memo.date = t;
        break;
      case "time":
        if (!memo.time) memo.time = t;
        break;
      case "ordinary":
        if (memo.title === null) {
          memo.title = t;
          memo.titleIndex = memo.lines.length - 1;
        } else {
          memo.second = t;
        }
        break;
      default:
        break;
    }
  }
  close();
  return memos;
}
