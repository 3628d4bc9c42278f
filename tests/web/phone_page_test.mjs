// The phone page in headless Chromium against a stand-in for the few
// Microsoft Graph calls it makes, backed by a temporary folder laid out like
// OneDrive; then the program's own merge over what the page uploaded.
// Raw DevTools protocol over WebSocket, so nothing needs installing.
import { spawn, spawnSync, execFileSync } from "node:child_process";
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";

const repo = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "../..");
const siteDir = path.join(repo, "web/phone/site");
const mergeTool = process.argv[2];
if (!mergeTool || !fs.existsSync(mergeTool)) { console.error("usage: run.sh <path-to-qp_merge_inbox>"); process.exit(2); }
const shotsDir = process.env.QP_WEB_SHOTS || path.join(repo, "build/web-shots");
const TOKEN = "test-token-123", DIVIDER = "------------------------------", BOM = "\uFEFF";
const work = fs.mkdtempSync(path.join(os.tmpdir(), "qp-phone-"));
const drive = path.join(work, "OneDrive"), notes = path.join(drive, "Quillpn/notes"), inbox = path.join(drive, "Quillpn/inbox");
for (const dir of [shotsDir, notes, inbox]) fs.mkdirSync(dir, { recursive: true });

let failures = 0;
function check(condition, what, detail) {
  if (!condition) failures++;
  console.log(condition ? `ok    ${what}` : `FAIL  ${what}${detail === undefined ? "" : `\n      got: ${JSON.stringify(detail)}`}`);
}
const same = (a, b) => JSON.stringify(a) === JSON.stringify(b);
// The PC's export: UTF-8 with a byte-order mark and CR LF.
function exportMemo(memo, role) {
  fs.writeFileSync(path.join(notes, "current.txt"), Array.isArray(memo) ? BOM + memo.join("\r\n") + "\r\n" : memo);
  fs.writeFileSync(path.join(notes, "section.json"), BOM + JSON.stringify({ role, separator: DIVIDER, heading: "##" }));
}

const listen = (server) => new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server.address().port)));
const jsonReply = (response, status, body) => response.writeHead(status, { "Content-Type": "application/json" }).end(body);
const types = { ".html": "text/html", ".js": "text/javascript", ".css": "text/css", ".png": "image/png",
  ".webmanifest": "application/manifest+json", ".json": "application/json", ".txt": "text/plain" };

// The hosted page under the same path it has on GitHub Pages; config.js is the
// test's own, the shipped one stays as it is.
let sitePort, graphPort, downloadPort;
const siteServer = http.createServer((request, response) => {
  const { pathname } = new URL(request.url, "http://x"), prefix = "/quillpane/phone/";
  if (!pathname.startsWith(prefix)) return response.writeHead(404).end();
  const rel = decodeURIComponent(pathname.slice(prefix.length)) || "index.html";
  if (rel === "config.js") return response.writeHead(200, { "Content-Type": "text/javascript", "Cache-Control": "no-store" })
    .end(`window.QUILLPANE_CONFIG = { clientId: "", graphBase: "http://127.0.0.1:${graphPort}/v1.0/", testToken: ${JSON.stringify(TOKEN)} };`);
  const file = path.join(siteDir, rel);
  if (!file.startsWith(siteDir + path.sep) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) return response.writeHead(404).end();
  response.writeHead(200, { "Content-Type": types[path.extname(file)] || "application/octet-stream", "Cache-Control": "no-cache" })
    .end(fs.readFileSync(file));
});

// What the Graph stand-in saw, and what it is told to answer to uploads.
const graphLog = [];
let putFailure = null;
const graphServer = http.createServer(async (request, response) => {
  response.setHeader("Access-Control-Allow-Origin", `http://127.0.0.1:${sitePort}`);
  response.setHeader("Access-Control-Allow-Headers", "Authorization, Content-Type");
  response.setHeader("Access-Control-Allow-Methods", "GET, PUT");
  if (request.method === "OPTIONS") return response.writeHead(204).end();
  const match = /^\/v1\.0\/me\/drive\/root:\/(.+):\/content$/.exec(decodeURIComponent(new URL(request.url, "http://x").pathname));
  const chunks = [];
  for await (const chunk of request) chunks.push(chunk);
  const body = Buffer.concat(chunks);
  graphLog.push({ method: request.method, path: match && match[1], headers: request.headers, body });
  if (!match || match[1].split("/").includes("..")) return response.writeHead(400).end();
  if (request.headers.authorization !== `Bearer ${TOKEN}`) return jsonReply(response, 401, '{"error":{"code":"InvalidAuthenticationToken"}}');
  const file = path.join(drive, match[1]);
  // Like Graph: a GET is a redirect to a pre-authenticated download address elsewhere.
  if (request.method === "GET") return !fs.existsSync(file) ? jsonReply(response, 404, '{"error":{"code":"itemNotFound"}}')
    : response.writeHead(302, { Location: `http://127.0.0.1:${downloadPort}/download?path=${encodeURIComponent(match[1])}` }).end();
  if (request.method !== "PUT") return response.writeHead(405).end();
  if (putFailure) return jsonReply(response, putFailure, '{"error":{"code":"failure"}}');
  fs.mkdirSync(path.dirname(file), { recursive: true });
  fs.writeFileSync(file, body);
  jsonReply(response, 201, JSON.stringify({ name: path.basename(file), size: body.length }));
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
  response.writeHead(200, { "Content-Type": "application/octet-stream" }).end(fs.readFileSync(file));
});
const servers = [siteServer, graphServer, downloadServer];
const closeServers = () => Promise.all(servers.map((server) => (server.closeAllConnections(), new Promise((resolve) => server.close(resolve)))));

async function connect(url) {
  const ws = new WebSocket(url), pending = new Map();
  let nextId = 1;
  ws.onmessage = ({ data }) => {
    const { id, error, result } = JSON.parse(data), waiter = id && pending.get(id);
    if (waiter && pending.delete(id)) error ? waiter.reject(new Error(`${waiter.method}: ${error.message}`)) : waiter.resolve(result);
  };
  await new Promise((resolve, reject) => { ws.onopen = resolve; ws.onerror = reject; });
  const send = (method, params = {}) => new Promise((resolve, reject) => {
    pending.set(nextId, { resolve, reject, method });
    ws.send(JSON.stringify({ id: nextId++, method, params }));
  });
  return { ws, send, async eval(expression) {
    const result = await send("Runtime.evaluate", { expression, awaitPromise: true, returnByValue: true });
    if (result.exceptionDetails) throw new Error(`${expression}: ${result.exceptionDetails.exception?.description || result.exceptionDetails.text}`);
    return result.result.value;
  } };
}
function startChromium(profile) {
  const installed = (name) => spawnSync("sh", ["-c", `command -v ${name}`], { stdio: "ignore" }).status === 0;
  const binary = process.env.CHROMIUM || ["chromium", "chromium-browser", "google-chrome"].find(installed);
  if (!binary) throw new Error("no Chromium found (install the chromium package or set CHROMIUM)");
  const child = spawn(binary, ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage", "--no-first-run",
    "--no-default-browser-check", "--disable-extensions", "--lang=en-US", "--hide-scrollbars", `--user-data-dir=${profile}`,
    "--remote-debugging-port=0", "about:blank"], { stdio: ["ignore", "ignore", "pipe"], env: { ...process.env, LANG: "en_US.UTF-8", LANGUAGE: "en" } });
  return new Promise((resolve, reject) => {
    let seen = "";
    const timer = setTimeout(() => reject(new Error(`Chromium did not start:\n${seen}`)), 30000);
    child.stderr.on("data", (data) => {
      const found = /DevTools listening on (ws:\/\/\S+)/.exec(seen += data);
      if (found) { clearTimeout(timer); resolve({ child, browserUrl: found[1] }); }
    });
    child.on("exit", (code) => reject(new Error(`Chromium exited (${code}):\n${seen}`)));
  });
}

let page;
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const $ = (selector) => `document.querySelector(${JSON.stringify(selector)})`;
// A guard against a hung page, not a speed goal.
async function waitFor(expression, what, limitMs = 20000) {
  for (const end = Date.now() + limitMs; Date.now() < end; await sleep(100)) {
    const value = await page.eval(expression).catch(() => null); // The page may be between documents.
    if (value) return value;
  }
  throw new Error(`timed out waiting for ${what}`);
}
// Navigates to url, or without one reloads.
async function load(url) {
  if (url) await page.send("Page.navigate", { url });
  else await page.eval("location.reload()").catch(() => {}).then(() => sleep(200));
  await waitFor(`document.readyState === "complete" && document.body && document.body.dataset.ready === "1"`,
    url ? "the page to start" : "the page to start again");
}
const cards = (part) => page.eval(`[...document.querySelectorAll("#memos .memo-${part}")].map((e) => e.textContent)`);
const titles = () => cards("title");
const text = (selector) => page.eval(`${$(selector)}.textContent`);
const noteValue = () => page.eval(`${$("#note")}.value`);
const checkTitles = async (expected, what) => { const got = await titles(); check(same(got, expected), what, got); };
// Taps Send and waits for the outcome the status shows.
async function send(kind, what) {
  const { x, y } = await page.eval(`(() => { const r = ${$("#send")}.getBoundingClientRect(); return { x: r.x + r.width / 2, y: r.y + r.height / 2 }; })()`);
  for (const type of ["mousePressed", "mouseReleased"]) await page.send("Input.dispatchMouseEvent", { type, x, y, button: "left", clickCount: 1 });
  await waitFor(`document.getElementById("send-status").dataset.kind === "${kind}"`, what);
}
async function typeInto(selector, value) {
  await page.eval(`(() => { const e = ${$(selector)}; e.focus(); e.select(); })()`);
  if (value !== "") return page.send("Input.insertText", { text: value });
  for (const type of ["keyDown", "keyUp"]) await page.send("Input.dispatchKeyEvent", { type, key: "Backspace", code: "Backspace", windowsVirtualKeyCode: 8 });
}
const refresh = () => page.eval(`document.getElementById("refresh").click()`).then(() => sleep(100))
  .then(() => waitFor(`!document.getElementById("refresh").disabled`, "the memo to load"));
const colorScheme = (value) => page.send("Emulation.setEmulatedMedia", { features: [{ name: "prefers-color-scheme", value }] });
async function screenshot(name, ...schemes) {
  for (const scheme of schemes) {
    await colorScheme(scheme);
    await sleep(150);
    const { data } = await page.send("Page.captureScreenshot", { format: "png" });
    fs.writeFileSync(path.join(shotsDir, `${name}-${scheme}.png`), Buffer.from(data, "base64"));
  }
  await colorScheme("light");
}
const inboxFiles = () => fs.readdirSync(inbox).sort();
const occurrences = (haystack, needle) => haystack.split(needle).length - 1;

async function main() {
  [sitePort, graphPort, downloadPort] = [await listen(siteServer), await listen(graphServer), await listen(downloadServer)];
  const chromium = await startChromium(path.join(work, "profile"));
  try {
    const targets = await (await fetch(`http://127.0.0.1:${new URL(chromium.browserUrl).port}/json/list`)).json();
    page = await connect(targets.find((t) => t.type === "page").webSocketDebuggerUrl);
    for (const [method, params] of [["Page.enable"], ["Runtime.enable"],
      ["Emulation.setDeviceMetricsOverride", { width: 390, height: 844, deviceScaleFactor: 3, mobile: true }],
      ["Emulation.setTouchEmulationEnabled", { enabled: true, maxTouchPoints: 5 }]]) await page.send(method, params);
    await colorScheme("light");

    // Divider role: only a line that is the divider (trailing spaces allowed)
    // divides; memos without an ordinary line are not listed, as on the PC.
    exportMemo(["Shopping", "milk", "eggs", DIVIDER, "2026-12-01", "Meeting notes", "with Aiko", DIVIDER + "   ",
      "Ideas for the garden", " " + DIVIDER, DIVIDER + "--", "roses", DIVIDER, "", DIVIDER, "2026-12-02 09:30", DIVIDER,
      "Café ünïcode 日本語", "last line"], "Separator");
    await load(`http://127.0.0.1:${sitePort}/quillpane/phone/`);
    check(same(await titles(), ["Shopping", "Meeting notes", "Ideas for the garden", "Café ünïcode 日本語"]),
      "divider role: memos and titles as the program lists them (BOM stripped)", [await titles(), await text("#banner")]);
    const dividerBodies = await cards("body");
    check(dividerBodies[2] === ` ${DIVIDER}\n${DIVIDER}--\nroses` && dividerBodies[0] === "milk\neggs",
      "divider role: memo text without its title line; near-dividers stay text", dividerBodies);
    check((await text("#count")).includes("4"), "the memo count is shown", await text("#count"));
    const touch = await page.eval(`[...document.querySelectorAll("button:not([hidden]), textarea, input")]
      .filter((e) => e.offsetParent).map((e) => { const r = e.getBoundingClientRect(); return [e.id, Math.round(r.width), Math.round(r.height)]; })`);
    check(touch.every(([, w, h]) => w >= 44 && h >= 44), "touch targets are at least 44 px", touch);
    check(await page.eval(`document.documentElement.scrollWidth <= innerWidth`), "nothing is wider than the phone");
    await screenshot("phone-memos", "light", "dark");

    // Search: case-insensitive, filters the cards and marks the matches.
    for (const [query, expected, what] of [["GARDEN", ["Ideas for the garden"], "search filters memos, ignoring case"],
      ["AIKO", ["Meeting notes"], "search looks into memo text, not only titles"], ["日本", ["Café ünïcode 日本語"], "search finds non-Latin text"]]) {
      await typeInto("#search", query);
      await checkTitles(expected, what);
      if (query === "GARDEN") check(same(await page.eval(`[...document.querySelectorAll("#memos mark")].map((m) => m.textContent)`), ["garden"]),
        "search highlights the match in the text's own case");
    }
    await screenshot("phone-search", "dark");
    await typeInto("#search", "(no such");
    check((await titles()).length === 0 && (await text("#count")).length > 0, "a search without matches shows none and says so");
    await typeInto("#search", "");
    check((await titles()).length === 4, "clearing the search shows every memo again");

    // Heading role: a heading line starts a memo and is its title; text above
    // the first heading is no memo; "###" and "##x" are no "##" headings.
    exportMemo(["Preamble line", "## Groceries", "bread", "### Sub point", "##NoSpace",
      "##   Travel plans  ", "Kyoto in spring", "##", "only the prefix"], "Heading");
    await refresh();
    await checkTitles(["Groceries", "Travel plans", "##"], "heading role: memos and titles as the program lists them");
    check((await cards("body"))[0] === "bread\n### Sub point\n##NoSpace", "heading role: the memo text follows its heading", await cards("body"));
    await screenshot("phone-headings", "light");

    // Sending: the text lands in the inbox under a name the PC merges, as
    // UTF-8, and the box is cleared.
    const note1 = "Buy oat milk\nCall Ben about 日本語 ✓\n  indented line", before = Date.now();
    await typeInto("#note", note1);
    await send("ok", "the upload to finish");
    const sent = inboxFiles();
    check(sent.length === 1 && /^\d{8}T\d{6}Z_[^\\/:*?"<>|]+\.txt$/.test(sent[0]), "the note lands as one inbox file named yyyymmddThhmmssZ_….txt", sent);
    const stamp = /^(\d{4})(\d\d)(\d\d)T(\d\d)(\d\d)(\d\d)Z_/.exec(sent[0] || "");
    const stampMs = stamp ? Date.UTC(+stamp[1], stamp[2] - 1, +stamp[3], +stamp[4], +stamp[5], +stamp[6]) : NaN;
    check(stampMs >= Math.floor(before / 1000) * 1000 - 1000 && stampMs <= Date.now() + 1000, "the name's stamp is the UTC time of sending", sent[0]);
    const sentBytes = sent[0] ? fs.readFileSync(path.join(inbox, sent[0])) : Buffer.alloc(0);
    check(sentBytes.equals(Buffer.from(note1, "utf8")), "the file holds the text as UTF-8", sentBytes.toString("utf8"));
    const type = graphLog.filter((r) => r.method === "PUT").at(-1)?.headers["content-type"];
    check(/^text\/plain; *charset=utf-8$/i.test(type ?? ""), "the upload says text/plain; charset=utf-8", type);
    check((await noteValue()) === "" && (await page.eval(`localStorage.getItem("quillpane.draft")`)) === null,
      "after sending, the box and the draft are empty");
    check((await text("#send-status")).startsWith("Sent"), "the page says it was sent", await text("#send-status"));
    await screenshot("phone-sent", "light");

    // Failures: the text stays in the box and in the draft, with a clear error.
    const note2 = "Second note\r\nwith a CR LF line", kept = note2.replace(/\r\n/g, "\n");
    await typeInto("#note", note2);
    for (const [status, says, what] of [[503, /503/, "a 503 is shown as an error"], [401, /sign-in/i, "a 401 asks for a new sign-in"]]) {
      putFailure = status;
      await page.eval(`document.getElementById("send-status").dataset.kind = ""`);
      await send("error", `the ${status} to show`);
      check(says.test(await text("#send-status")), what, await text("#send-status"));
      check((await noteValue()) === kept, `after a ${status} the text stays in the box`);
      if (status === 503) await screenshot("phone-send-error", "dark");
    }
    check(inboxFiles().length === 1, "failed uploads leave no inbox file", inboxFiles());
    await load();
    check((await noteValue()) === kept, "an unsent text survives a reload");
    putFailure = null;
    await send("ok", "the second upload to finish");
    check(inboxFiles().length === 2, "the kept text is sent once the upload works", inboxFiles());

    // The program's merge, twice: each note lands in the memo exactly once.
    const memoFile = path.join(work, "Note.txt");
    const merge = () => execFileSync(mergeTool, [drive, memoFile, path.join(work, "merge-journal.txt"), DIVIDER], { encoding: "utf8" }).trim();
    fs.writeFileSync(memoFile, BOM + "Existing memo\r\nline two\r\n");
    const first = merge(), afterFirst = fs.readFileSync(memoFile), second = merge(), memo = fs.readFileSync(memoFile, "utf8");
    check(first === "merged" && second === "nothing merged" && afterFirst.equals(fs.readFileSync(memoFile)),
      "the merge takes the notes once and leaves the memo alone the second time", [first, second]);
    check(inboxFiles().length === 0, "the merge empties the inbox", inboxFiles());
    check(occurrences(memo, note1.replace(/\n/g, "\r\n")) === 1 && occurrences(memo, note2) === 1,
      "the memo holds each sent text exactly once", memo);
    check(memo.startsWith(BOM + "Existing memo\r\nline two\r\n"), "the memo keeps what it had", memo.slice(0, 40));

    // The PC exports the merged memo: the note is a memo of its own on the phone.
    const merged = ["Existing memo", "Buy oat milk", "Second note"];
    exportMemo(memo, "Separator");
    await refresh();
    await checkTitles(merged, "after the merge and export the sent notes show as memos");

    // Offline: the shell comes from the service worker and the memo from the last copy.
    await waitFor(`navigator.serviceWorker.controller !== null || navigator.serviceWorker.ready.then(() => true)`, "the service worker");
    await load(); // now under the worker's control
    check(await page.eval(`navigator.serviceWorker.controller !== null`), "the service worker controls the page");
    await closeServers();
    await load();
    await checkTitles(merged, "offline: the last copy's memos are shown");
    check(/^Offline — last copy from /.test(await text("#banner")) && !(await page.eval(`document.getElementById("banner").hidden`)),
      "offline: the page says it shows the last copy, and from when", await text("#banner"));
    await screenshot("phone-offline", "light");
  } finally {
    page?.ws.close();
    chromium.child.kill();
  }
}

try {
  await main();
} catch (error) {
  check(false, error.stack || error);
} finally {
  closeServers();
  await sleep(300);
  fs.rmSync(work, { recursive: true, force: true, maxRetries: 3 });
}
console.log(failures ? `${failures} check(s) failed; screenshots in ${shotsDir}` : `all passed; screenshots in ${shotsDir}`);
process.exit(failures ? 1 : 0);
