// Chromium driven through its DevTools protocol over a pipe (--remote-debugging-pipe):
// the browser reads commands on its fd 3 and writes answers and events on its fd 4,
// each message a JSON text ended by a NUL byte. Pages are targets, each spoken to
// through the session that Target.attachToTarget gives it. Just what the browser test
// needs: pages and their events, navigation, input as a keyboard and fingers give
// it, the screen a phone has, and pictures.
import { spawn } from "node:child_process";
import { EventEmitter } from "node:events";

// What promise gives, or false when ms pass first (on a timer that keeps nothing
// waiting for it).
const within = (promise, ms) => new Promise((resolve) => {
  setTimeout(resolve, ms, false).unref();
  promise.then(resolve);
});

// A command not answered within this many ms fails.
const timeout = 30000;

// The browser, started with the arguments given. It emits each event as "METHOD
// SESSION" (SESSION empty for the browser's own).
export class Browser extends EventEmitter {
  constructor(executable, args) {
    super();
    const child = spawn(executable, ["--remote-debugging-pipe", ...args, "about:blank"],
                        { stdio: ["ignore", "ignore", "pipe", "pipe", "pipe"] });
    // waiting: command id -> the function that settles its promise; log: the browser's
    // own messages, kept for when it goes away unasked.
    Object.assign(this, { child, nextId: 1, waiting: new Map(), log: "" });
    child.stderr.on("data", (chunk) => { this.log = (this.log + chunk).slice(-4000); });
    let partial = "";
    child.stdio[4].setEncoding("utf8").on("data", (chunk) => {
      const messages = chunk.split("\0");
      messages[0] = partial + messages[0];
      partial = messages.pop();
      for (const message of messages) {
        const { id, method, params, sessionId, error, result } = JSON.parse(message);
        if (id === undefined) this.emit(method + " " + (sessionId || ""), params);
        else this.waiting.get(id)?.(error?.message, result);
      }
    });
    child.stdio[3].on("error", () => {});
    this.exited = new Promise((done) => child.on("exit", (code, signal) => {
      this.gone = "the browser exited (" + (signal || code) + "): " + this.log.trim().split("\n").slice(-5).join(" | ");
      for (const settle of this.waiting.values()) settle(this.gone);
      done(true);
    }));
  }

  send(method, params = {}, sessionId = undefined) {
    if (this.gone) return Promise.reject(new Error(method + ": " + this.gone));
    const id = this.nextId++;
    const answer = new Promise((resolve, reject) => this.waiting.set(id, (error, result) => {
      this.waiting.delete(id);
      if (error) reject(new Error(method + ": " + error)); else resolve(result);
    }));
    const timer = setTimeout(() => this.waiting.get(id)?.("no answer in " + timeout + " ms"), timeout);
    this.child.stdio[3].write(JSON.stringify({ id, method, params, sessionId }) + "\0");
    return answer.finally(() => clearTimeout(timer));
  }

  // A new tab, blank, in the given browser context (by default the browser's own).
  async newPage(browserContextId = undefined) {
    const { targetId } = await this.send("Target.createTarget", { url: "about:blank", browserContextId });
    const { sessionId } = await this.send("Target.attachToTarget", { targetId, flatten: true });
    const page = new Page(this, targetId, sessionId);
    for (const domain of ["Page", "Runtime", "Network", "Log"]) await page.send(domain + ".enable");
    return page;
  }

  async close() {
    await this.send("Browser.close").catch(() => {});
    if (!await within(this.exited, 5000)) this.child.kill("SIGKILL");
    await this.exited;
  }
}

// The keys pressed by KeyboardEvent.code whose key is neither the code itself nor a
// letter's.
const keyNames = { ControlLeft: "Control", AltLeft: "Alt", Equal: "=" };
const modifierBits = { Alt: 1, Control: 2 };

class Page {
  constructor(browser, targetId, sessionId) {
    Object.assign(this, { browser, targetId, sessionId, modifiers: 0 });
  }
  send(method, params = {}) {
    return this.browser.send(method, params, this.sessionId);
  }
  on(method, listener) {
    this.browser.on(method + " " + this.sessionId, listener);
  }

  // The value of fn(...args) run in the page (awaited when it is a promise); what it
  // throws is thrown here. Run as script, not as a gesture of the player's.
  async evaluate(fn, ...args) {
    const { result, exceptionDetails } = await this.send("Runtime.evaluate", {
      expression: "(" + fn + ")(..." + JSON.stringify(args) + ")", awaitPromise: true, returnByValue: true,
    });
    if (exceptionDetails) throw new Error(exceptionDetails.exception?.description || exceptionDetails.text);
    return result.value;
  }

  // Navigates (Page.navigate or Page.reload) and waits until the page's next document
  // has fired the event ("loadEventFired" or "domContentEventFired").
  async navigate(method, params, event, ms = 30000) {
    const fired = new Promise((resolve) => this.browser.once("Page." + event + " " + this.sessionId, resolve));
    const { errorText } = await this.send(method, params);
    if (errorText) throw new Error(params.url + ": " + errorText);
    if (!await within(fired.then(() => true), ms)) throw new Error("no " + event + " in " + ms + " ms");
  }
  goto(url, event = "loadEventFired") {
    return this.navigate("Page.navigate", { url }, event);
  }
  reload() {
    return this.navigate("Page.reload", {}, "loadEventFired");
  }

  // The screen of a computer or a phone, in the terms of
  // Emulation.setDeviceMetricsOverride; a mobile one is a touch screen.
  async setViewport(metrics) {
    await this.send("Emulation.setDeviceMetricsOverride", metrics);
    await this.send("Emulation.setTouchEmulationEnabled", { enabled: metrics.mobile });
  }

  // A key by its KeyboardEvent.code going down or up ("keyDown", "keyUp") as a keyboard
  // sends it, with the modifiers held: a key that types something sends its text too,
  // unless Ctrl or Alt is down.
  key(type, code) {
    const key = /^Key[A-Z]$/.test(code) ? code[3].toLowerCase() : keyNames[code] || code;
    const bit = modifierBits[key] || 0;
    this.modifiers = type === "keyUp" ? this.modifiers & ~bit : this.modifiers | bit;
    const text = type === "keyDown" && !this.modifiers && key.length === 1 ? key : "";
    return this.send("Input.dispatchKeyEvent", { type: type === "keyDown" && !text ? "rawKeyDown" : type, code, key,
                                                 location: bit ? 1 : 0, modifiers: this.modifiers, text });
  }

  // Fingers on the screen at page points [x, y, id] (by default the first finger id 0,
  // and so on) put down or moved (type "touchStart", "touchMove"), or lifted ("touchEnd":
  // those given, or all).
  touch(type, points = []) {
    const touchPoints = points.map(([x, y, id], i) => ({ x, y, id: id ?? i, radiusX: 8, radiusY: 8, force: 1 }));
    return this.send("Input.dispatchTouchEvent", { type, touchPoints });
  }

  // An element's box in CSS pixels of the page (x, y, width, height, left, top and so on).
  box(selector) {
    return this.evaluate((selector) => document.querySelector(selector).getBoundingClientRect().toJSON(), selector);
  }

  // The page as shown (or a box of it, in CSS pixels), as PNG bytes.
  async screenshot({ x, y, width, height } = {}) {
    const clip = width && { x, y, width, height, scale: 1 };
    const { data } = await this.send("Page.captureScreenshot", { format: "png", clip });
    return Buffer.from(data, "base64");
  }

  close() {
    return this.browser.send("Target.closeTarget", { targetId: this.targetId });
  }
}
