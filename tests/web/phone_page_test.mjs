// The phone page in headless Chromium against a stand-in for the few
// Microsoft Graph calls it makes, backed by a temporary folder laid out like
// OneDrive; then the program's own merge over what the page uploaded.
// Raw DevTools protocol over WebSocket, so nothing needs installing.
import { spawn, execFileSync } from "node:child_process";
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";

const here = path.dirname(fileURLToPath(import.meta.url));
const repo = path.resolve(here, "../..");
const siteDir = path.join(repo, "web/phone/site");
const mergeTool = process.argv[2];
if (!mergeTool || !fs.existsSync(mergeTool)) {
  console.error("usage: run.sh <path-to-qp_merge_inbox>");
  process.exit(2);
}
const shotsDir = process.env.QP_WEB_SHOTS || path.join(repo, "build/web-shots");
fs.mkdirSync(shotsDir, { recursive: true });

const TOKEN = "test-token-123";
const DIVIDER = "------------------------------";
const BOM = "\uFEFF";
const work = fs.mkdtempSync(path.join(os.tmpdir(), "qp-phone-"));
const drive = path.join(work, "OneDrive");
const notes = path.join(drive, "Quillpn/notes");
const inbox = path.join(drive, "Quillpn/inbox");
fs.mkdirSync(notes, { recursive: true });
fs.mkdirSync(inbox, { recursive: true });

let failures = 0;
function check(condition, what, detail) {
  if (condition) {
    console.log(`ok    ${what}`);
  } else {
    failures++;
    console.log(`FAIL  ${what}${detail === undefined ? "" : `\n      got: ${JSON.stringify(detail)}`}`);
  }
}

// The PC's export: UTF-8 with a byte-order mark and CR LF.
function exportMemo(lines, section) {
  fs.writeFileSync(path.join(notes, "current.txt"), BOM + lines.join("\r\n") + "\r\n");
  fs.writeFileSync(path.join(notes, "section.json"), BOM + JSON.stringify(section));
}

// --- Servers -----------------------------------------------------------------

function listen(server) {
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server.address().port)));
}

function readBody(request) {
  return new Promise((resolve) => {
    const chunks = [];
    request.on("data", (c) => chunks.push(c));
    request.on("end", () => resolve(Buffer.concat(chunks)));
  });
}

const types = { ".html": "text/html", ".js": "text/javascript", ".css": "text/css", ".png": "image/png",
  ".webmanifest": "application/manifest+json", ".json": "application/json", ".txt": "text/plain" };

// The hosted page under the same path it has on GitHub Pages; config.js is the
// test's own, the shipped one stays as it is.
let sitePort, graphPort, downloadPort;
const siteServer = http.createServer((request, response) => {
  const url = new URL(request.url, "http://x");
  const prefix = "/quillpane/phone/";
  if (!url.pathname.startsWith(prefix)) return response.writeHead(404).end();
  let rel = decodeURIComponent(url.pathname.slice(prefix.length)) || "index.html";
  if (rel === "config.js") {
    response.writeHead(200, { "Content-Type": "text/javascript", "Cache-Control": "no-store" });
    return response.end(`window.QUILLPANE_CONFIG = { clientId: "", graphBase: "http://127.0.0.1:${graphPort}/v1.0/", testToken: ${JSON.stringify(TOKEN)} };`);
  }
  const file = path.join(siteDir, rel);
  if (!file.startsWith(siteDir + path.sep) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
    return response.writeHead(404).end();
  }
  response.writeHead(200, { "Content-Type": types[path.extname(file)] || "application/octet-stream", "Cache-Control": "no-cache" });
  response.end(fs.readFileSync(file));
});

// What the Graph stand-in saw, and what it is told to answer to uploads.
const graphLog = [];
let putFailure = null;

function cors(request, response) {
  response.setHeader("Access-Control-Allow-Origin", `http://127.0.0.1:${sitePort}`);
  response.setHeader("Access-Control-Allow-Headers", "Authorization, Content-Type");
  response.setHeader("Access-Control-Allow-Methods", "GET, PUT");
}

const graphServer = http.createServer(async (request, response) => {
  cors(request, response);
  if (request.method === "OPTIONS") return response.writeHead(204).end();
  const url = new URL(request.url, "http://x");
  const match = /^\/v1\.0\/me\/drive\/root:\/(.+):\/content$/.exec(decodeURIComponent(url.pathname));
  const body = await readBody(request);
  graphLog.push({ method: request.method, path: match && match[1], headers: request.headers, body });
  if (!match || match[1].split("/").includes("..")) return response.writeHead(400).end();
  if (request.headers.authorization !== `Bearer ${TOKEN}`) {
    response.writeHead(401, { "Content-Type": "application/json" });
    return response.end('{"error":{"code":"InvalidAuthenticationToken"}}');
  }
  const file = path.join(drive, match[1]);
  if (request.method === "GET") {
    if (!fs.existsSync(file)) {
      response.writeHead(404, { "Content-Type": "application/json" });
      return response.end('{"error":{"code":"itemNotFound"}}');
    }
    // Like Graph: a redirect to a pre-authenticated download address elsewhere.
    response.writeHead(302, { Location: `http://127.0.0.1:${downloadPort}/download?path=${encodeURIComponent(match[1])}` });
    return response.end();
  }
  if (request.method === "PUT") {
    if (putFailure) {
      response.writeHead(putFailure, { "Content-Type": "application/json" });
      return response.end('{"error":{"code":"failure"}}');
    }
    fs.mkdirSync(path.dirname(file), { recursive: true });
    fs.writeFileSync(file, body);
    response.writeHead(201, { "Content-Type": "application/json" });
    return response.end(JSON.stringify({ name: path.basename(file), size: body.length }));
  }
  response.writeHead(405).end();
});

const downloadServer = http.createServer((request, response) => {
  // Graph's download addresses take any origin: after the cross-origin
  // redirect the browser sends Origin: null.
  response.setHeader("Access-Control-Allow-Origin", "*");
  response.setHeader("Access-Control-Allow-Headers", "Authorization, Content-Type");
  if (request.method === "OPTIONS") return response.writeHead(204).end();
  const rel = new URL(request.url, "http://x").searchParams.get("path") || "";
  const file = path.join(drive, rel);
  if (!rel || rel.split("/").includes("..") || !fs.existsSync(file)) return response.writeHead(404).end();
  response.writeHead(200, { "Content-Type": "application/octet-stream" });
  response.end(fs.readFileSync(file));
});

// --- Chromium over the DevTools protocol -------------------------------------

class Cdp {
  constructor(url) {
    this.ws = new WebSocket(url);
    this.nextId = 1;
    this.pending = new Map();
  }
  open() {
    return new Promise((resolve, reject) => {
      this.ws.onopen = resolve;
      this.ws.onerror = reject;
      this.ws.onmessage = (event) => {
        const message = JSON.parse(event.data);
        const waiter = message.id && this.pending.get(message.id);
        if (!waiter) return;
        this.pending.delete(message.id);
        if (message.error) waiter.reject(new Error(`${waiter.method}: ${message.error.message}`));
        else waiter.resolve(message.result);
      };
    });
  }
  send(method, params = {}) {
    const id = this.nextId++;
    this.ws.send(JSON.stringify({ id, method, params }));
    return new Promise((resolve, reject) => this.pending.set(id, { resolve, reject, method }));
  }
  async eval(expression) {
    const result = await this.send("Runtime.evaluate", { expression, awaitPromise: true, returnByValue: true });
    if (result.exceptionDetails) throw new Error(`${expression}: ${result.exceptionDetails.exception?.description || result.exceptionDetails.text}`);
    return result.result.value;
  }
}

function startChromium(profile) {
  const binary = process.env.CHROMIUM || ["chromium", "chromium-browser", "google-chrome"].find((name) => {
    try {
      execFileSync("sh", ["-c", `command -v ${name}`], { stdio: "ignore" });
      return true;
    } catch {
      return false;
    }
  });
  if (!binary) throw new Error("no Chromium found (install the chromium package or set CHROMIUM)");
  const child = spawn(binary, [
    "--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage", "--no-first-run",
    "--no-default-browser-check", "--disable-extensions", "--lang=en-US", "--hide-scrollbars",
    `--user-data-dir=${profile}`, "--remote-debugging-port=0", "about:blank",
  ], { stdio: ["ignore", "ignore", "pipe"], env: { ...process.env, LANG: "en_US.UTF-8", LANGUAGE: "en" } });
  return new Promise((resolve, reject) => {
    let seen = "";
    const timer = setTimeout(() => reject(new Error(`Chromium did not start:\n${seen}`)), 30000);
    child.stderr.on("data", (data) => {
      seen += data;
      const found = /DevTools listening on (ws:\/\/\S+)/.exec(seen);
      if (found) {
        clearTimeout(timer);
        resolve({ child, browserUrl: found[1] });
      }
    });
    child.on("exit", (code) => reject(new Error(`Chromium exited (${code}):\n${seen}`)));
  });
}

// --- Helpers over the page ----------------------------------------------------

let page;
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// A guard against a hung page, not a speed goal.
async function waitFor(expression, what, limitMs = 20000) {
  const end = Date.now() + limitMs;
  let value;
  while (Date.now() < end) {
    try {
      value = await page.eval(expression);
      if (value) return value;
    } catch {
      // The page may be between documents.
    }
    await sleep(100);
  }
  throw new Error(`timed out waiting for ${what}`);
}

async function open(url) {
  await page.send("Page.navigate", { url });
  await waitFor(`document.readyState === "complete" && document.body && document.body.dataset.ready === "1"`, "the page to start");
}

async function reload() {
  await page.eval("location.reload()").catch(() => {});
  await sleep(200);
  await waitFor(`document.readyState === "complete" && document.body && document.body.dataset.ready === "1"`, "the page to start again");
}

const titles = () => page.eval(`[...document.querySelectorAll("#memos .memo-title")].map((e) => e.textContent)`);
const bodies = () => page.eval(`[...document.querySelectorAll("#memos .memo-body")].map((e) => e.textContent)`);
const text = (selector) => page.eval(`document.querySelector(${JSON.stringify(selector)}).textContent`);

async function tap(selector) {
  const box = await page.eval(`(() => { const r = document.querySelector(${JSON.stringify(selector)}).getBoundingClientRect();
    return { x: r.x + r.width / 2, y: r.y + r.height / 2, w: r.width, h: r.height }; })()`);
  for (const type of ["mousePressed", "mouseReleased"]) {
    await page.send("Input.dispatchMouseEvent", { type, x: box.x, y: box.y, button: "left", clickCount: 1 });
  }
  return box;
}

async function typeInto(selector, value) {
  await page.eval(`(() => { const e = document.querySelector(${JSON.stringify(selector)}); e.focus(); e.select(); })()`);
  if (value === "") {
    await page.send("Input.dispatchKeyEvent", { type: "keyDown", key: "Backspace", code: "Backspace", windowsVirtualKeyCode: 8 });
    await page.send("Input.dispatchKeyEvent", { type: "keyUp", key: "Backspace", code: "Backspace", windowsVirtualKeyCode: 8 });
  } else {
    await page.send("Input.insertText", { text: value });
  }
}

async function refresh() {
  await page.eval(`document.getElementById("refresh").click()`);
  await sleep(100);
  await waitFor(`!document.getElementById("refresh").disabled`, "the memo to load");
}

async function screenshot(name, scheme) {
  await page.send("Emulation.setEmulatedMedia", { features: [{ name: "prefers-color-scheme", value: scheme }] });
  await sleep(150);
  const { data } = await page.send("Page.captureScreenshot", { format: "png" });
  fs.writeFileSync(path.join(shotsDir, `${name}-${scheme}.png`), Buffer.from(data, "base64"));
}

function inboxFiles() {
  return fs.readdirSync(inbox).sort();
}

function merge(memoFile, journal) {
  return execFileSync(mergeTool, [drive, memoFile, journal], { encoding: "utf8" }).trim();
}

function occurrences(haystack, needle) {
  let count = 0;
  for (let at = haystack.indexOf(needle); at >= 0; at = haystack.indexOf(needle, at + needle.length)) count++;
  return count;
}

// --- The scenarios --------------------------------------------------------------

async function main() {
  sitePort = await listen(siteServer);
  graphPort = await listen(graphServer);
  downloadPort = await listen(downloadServer);
  const pageUrl = `http://127.0.0.1:${sitePort}/quillpane/phone/`;

  const chromium = await startChromium(path.join(work, "profile"));
  try {
    const port = new URL(chromium.browserUrl).port;
    const targets = await (await fetch(`http://127.0.0.1:${port}/json/list`)).json();
    page = new Cdp(targets.find((t) => t.type === "page").webSocketDebuggerUrl);
    await page.open();
    await page.send("Page.enable");
    await page.send("Runtime.enable");
    await page.send("Emulation.setDeviceMetricsOverride", { width: 390, height: 844, deviceScaleFactor: 3, mobile: true });
    await page.send("Emulation.setTouchEmulationEnabled", { enabled: true, maxTouchPoints: 5 });
    await page.send("Emulation.setEmulatedMedia", { features: [{ name: "prefers-color-scheme", value: "light" }] });

    // Divider role: only a line that is the divider (trailing spaces allowed)
    // divides; memos without an ordinary line are not listed, as on the PC.
    exportMemo([
      "Shopping", "milk", "eggs",
      DIVIDER,
      "2026-12-01", "Meeting notes", "with Aiko",
      DIVIDER + "   ",
      "Ideas for the garden", " " + DIVIDER, DIVIDER + "--", "roses",
      DIVIDER, "", DIVIDER, "2026-12-02 09:30",
      DIVIDER,
      "Café ünïcode 日本語", "last line",
    ], { role: "Separator", separator: DIVIDER, heading: "##" });
    await open(pageUrl);
    check(JSON.stringify(await titles()) === JSON.stringify(["Shopping", "Meeting notes", "Ideas for the garden", "Café ünïcode 日本語"]),
      "divider role: memos and titles as the program lists them (BOM stripped)", [await titles(), await text("#banner")]);
    const dividerBodies = await bodies();
    check(dividerBodies[2] === ` ${DIVIDER}\n${DIVIDER}--\nroses` && dividerBodies[0] === "milk\neggs",
      "divider role: memo text without its title line; near-dividers stay text", dividerBodies);
    check((await text("#count")).includes("4"), "the memo count is shown", await text("#count"));
    const touch = await page.eval(`[...document.querySelectorAll("button:not([hidden]), textarea, input")]
      .filter((e) => e.offsetParent).map((e) => { const r = e.getBoundingClientRect(); return [e.id, Math.round(r.width), Math.round(r.height)]; })`);
    check(touch.every(([, w, h]) => w >= 44 && h >= 44), "touch targets are at least 44 px", touch);
    check(await page.eval(`document.documentElement.scrollWidth <= innerWidth`), "nothing is wider than the phone");
    await screenshot("phone-memos", "light");
    await screenshot("phone-memos", "dark");
    await page.send("Emulation.setEmulatedMedia", { features: [{ name: "prefers-color-scheme", value: "light" }] });

    // Search: case-insensitive, filters the cards and marks the matches.
    await typeInto("#search", "GARDEN");
    check(JSON.stringify(await titles()) === JSON.stringify(["Ideas for the garden"]), "search filters memos, ignoring case", await titles());
    check(JSON.stringify(await page.eval(`[...document.querySelectorAll("#memos mark")].map((m) => m.textContent)`)) === '["garden"]',
      "search highlights the match in the text's own case");
    await typeInto("#search", "AIKO");
    check(JSON.stringify(await titles()) === JSON.stringify(["Meeting notes"]), "search looks into memo text, not only titles", await titles());
    await typeInto("#search", "日本");
    check(JSON.stringify(await titles()) === JSON.stringify(["Café ünïcode 日本語"]), "search finds non-Latin text", await titles());
    await screenshot("phone-search", "dark");
    await typeInto("#search", "(no such");
    check((await titles()).length === 0 && (await text("#count")).length > 0, "a search without matches shows none and says so");
    await typeInto("#search", "");
    check((await titles()).length === 4, "clearing the search shows every memo again");

    // Heading role: a heading line starts a memo and is its title; text above
    // the first heading is no memo; "###" and "##x" are no "##" headings.
    exportMemo([
      "Preamble line",
      "## Groceries", "bread", "### Sub point", "##NoSpace",
      "##   Travel plans  ", "Kyoto in spring",
      "##", "only the prefix",
    ], { role: "Heading", separator: DIVIDER, heading: "##" });
    await refresh();
    check(JSON.stringify(await titles()) === JSON.stringify(["Groceries", "Travel plans", "##"]),
      "heading role: memos and titles as the program lists them", await titles());
    check((await bodies())[0] === "bread\n### Sub point\n##NoSpace", "heading role: the memo text follows its heading", await bodies());
    await screenshot("phone-headings", "light");

    // Sending: the text lands in the inbox under a name the PC merges, as
    // UTF-8, and the box is cleared.
    const note1 = "Buy oat milk\nCall Ben about 日本語 ✓\n  indented line";
    const before = Date.now();
    await typeInto("#note", note1);
    await tap("#send");
    await waitFor(`document.getElementById("send-status").dataset.kind === "ok"`, "the upload to finish");
    const sentFiles = inboxFiles();
    check(sentFiles.length === 1 && /^\d{8}T\d{6}Z_[^\\/:*?"<>|]+\.txt$/.test(sentFiles[0]), "the note lands as one inbox file named yyyymmddThhmmssZ_….txt", sentFiles);
    const stamp = /^(\d{4})(\d\d)(\d\d)T(\d\d)(\d\d)(\d\d)Z_/.exec(sentFiles[0] || "");
    const stampMs = stamp ? Date.UTC(+stamp[1], stamp[2] - 1, +stamp[3], +stamp[4], +stamp[5], +stamp[6]) : NaN;
    check(stampMs >= Math.floor(before / 1000) * 1000 - 1000 && stampMs <= Date.now() + 1000, "the name's stamp is the UTC time of sending", sentFiles[0]);
    const sentBytes = sentFiles[0] ? fs.readFileSync(path.join(inbox, sentFiles[0])) : Buffer.alloc(0);
    check(sentBytes.equals(Buffer.from(note1, "utf8")), "the file holds the text as UTF-8", sentBytes.toString("utf8"));
    const put = graphLog.filter((r) => r.method === "PUT").at(-1);
    check(put && /^text\/plain; *charset=utf-8$/i.test(put.headers["content-type"]), "the upload says text/plain; charset=utf-8", put && put.headers["content-type"]);
    check((await page.eval(`document.getElementById("note").value`)) === "" && (await page.eval(`localStorage.getItem("quillpane.draft")`)) === null,
      "after sending, the box and the draft are empty");
    check((await text("#send-status")).startsWith("Sent"), "the page says it was sent", await text("#send-status"));
    await screenshot("phone-sent", "light");

    // Failures: the text stays in the box and in the draft, with a clear error.
    const note2 = "Second note\r\nwith a CR LF line";
    await typeInto("#note", note2);
    putFailure = 503;
    await tap("#send");
    await waitFor(`document.getElementById("send-status").dataset.kind === "error"`, "the 503 to show");
    check((await text("#send-status")).includes("503"), "a 503 is shown as an error", await text("#send-status"));
    check((await page.eval(`document.getElementById("note").value`)) === note2.replace(/\r\n/g, "\n"), "after a 503 the text stays in the box");
    await screenshot("phone-send-error", "dark");
    await page.send("Emulation.setEmulatedMedia", { features: [{ name: "prefers-color-scheme", value: "light" }] });
    putFailure = 401;
    await page.eval(`document.getElementById("send-status").dataset.kind = ""`);
    await tap("#send");
    await waitFor(`document.getElementById("send-status").dataset.kind === "error"`, "the 401 to show");
    check(/sign-in/i.test(await text("#send-status")), "a 401 asks for a new sign-in", await text("#send-status"));
    check((await page.eval(`document.getElementById("note").value`)) === note2.replace(/\r\n/g, "\n"), "after a 401 the text stays in the box");
    check(inboxFiles().length === 1, "failed uploads leave no inbox file", inboxFiles());
    await reload();
    check((await page.eval(`document.getElementById("note").value`)) === note2.replace(/\r\n/g, "\n"), "an unsent text survives a reload");
    putFailure = null;
    await tap("#send");
    await waitFor(`document.getElementById("send-status").dataset.kind === "ok"`, "the second upload to finish");
    check(inboxFiles().length === 2, "the kept text is sent once the upload works", inboxFiles());

    // The program's merge, twice: each note lands in the memo exactly once.
    const memoFile = path.join(work, "Note.txt");
    const journal = path.join(work, "merge-journal.txt");
    fs.writeFileSync(memoFile, BOM + "Existing memo\r\nline two\r\n");
    const first = merge(memoFile, journal);
    const afterFirst = fs.readFileSync(memoFile);
    const second = merge(memoFile, journal);
    const memo = fs.readFileSync(memoFile, "utf8");
    check(first === "merged" && second === "nothing merged" && afterFirst.equals(fs.readFileSync(memoFile)),
      "the merge takes the notes once and leaves the memo alone the second time", [first, second]);
    check(inboxFiles().length === 0, "the merge empties the inbox", inboxFiles());
    check(occurrences(memo, note1.replace(/\n/g, "\r\n")) === 1 && occurrences(memo, "Second note\r\nwith a CR LF line") === 1,
      "the memo holds each sent text exactly once", memo);
    check(memo.startsWith(BOM + "Existing memo\r\nline two\r\n"), "the memo keeps what it had", memo.slice(0, 40));

    // The PC exports the merged memo: the note is a memo of its own on the phone.
    fs.writeFileSync(path.join(notes, "current.txt"), memo);
    fs.writeFileSync(path.join(notes, "section.json"), BOM + JSON.stringify({ role: "Separator", separator: DIVIDER, heading: "##" }));
    await refresh();
    check(JSON.stringify(await titles()) === JSON.stringify(["Existing memo", "Buy oat milk", "Second note"]),
      "after the merge and export the sent notes show as memos", await titles());

    // Offline: the shell comes from the service worker and the memo from the last copy.
    await waitFor(`navigator.serviceWorker.controller !== null || navigator.serviceWorker.ready.then(() => true)`, "the service worker");
    await reload(); // now under the worker's control
    check(await page.eval(`navigator.serviceWorker.controller !== null`), "the service worker controls the page");
    for (const server of [siteServer, graphServer, downloadServer]) {
      server.closeAllConnections();
      await new Promise((resolve) => server.close(resolve));
    }
    await reload();
    check(JSON.stringify(await titles()) === JSON.stringify(["Existing memo", "Buy oat milk", "Second note"]),
      "offline: the last copy's memos are shown", await titles());
    check(/^Offline — last copy from /.test(await text("#banner")) && !(await page.eval(`document.getElementById("banner").hidden`)),
      "offline: the page says it shows the last copy, and from when", await text("#banner"));
    await screenshot("phone-offline", "light");
  } finally {
    if (page) page.ws.close();
    chromium.child.kill();
  }
}

try {
  await main();
} catch (error) {
  failures++;
  console.log(`FAIL  ${error.stack || error}`);
} finally {
  for (const server of [siteServer, graphServer, downloadServer]) {
    server.closeAllConnections();
    server.close();
  }
  await sleep(300);
  fs.rmSync(work, { recursive: true, force: true, maxRetries: 3 });
}
console.log(failures ? `${failures} check(s) failed; screenshots in ${shotsDir}` : `all passed; screenshots in ${shotsDir}`);
process.exit(failures ? 1 : 0);
