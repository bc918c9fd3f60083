// The pad script's strokes and requests, without a browser:
// node pad_test.js PATH/TO/pad.js
"use strict";
const assert = require("assert");
const fs = require("fs");
const vm = require("vm");

const window = {};
vm.runInNewContext(fs.readFileSync(process.argv[2], "utf8"), { window });
const { Session, strokeText } = window.HandwritingPad;
assert.strictEqual(typeof window.HandwritingPad, "function");

const tests = [];
const test = (name, body) => tests.push([name, body]);
// The script's arrays come from another realm: compared by their JSON.
const same = (a, b, message) => assert.strictEqual(JSON.stringify(a), JSON.stringify(b), message);

test("points closer than the step are dropped; coordinates are whole pixels", () => {
	const s = new Session();
	s.begin(10.4, 10.6);
	assert.strictEqual(s.extend(11, 12), false);
	assert.strictEqual(s.extend(13.2, 10), true);
	assert.strictEqual(s.end(), true);
	assert.strictEqual(s.end(), false);
	assert.strictEqual(s.extend(50, 50), false, "no stroke after the end");
	same(s.strokes, [[10, 11, 13, 10]]);
});

test("a request carries a new number and the strokes as JSON", () => {
	const s = new Session();
	s.begin(1, 2); s.extend(10, 20); s.end();
	s.begin(5, 5); s.end();
	assert.strictEqual(s.request("lumiko-pad:/"), "lumiko-pad:/recognise?n=1&s=[[1,2,10,20],[5,5]]");
	assert.strictEqual(s.request("x:/").split("&")[0], "x:/recognise?n=2");
	same(JSON.parse(s.request("").split("&s=")[1]), [[1, 2, 10, 20], [5, 5]]);
});

test("only the latest answer counts, and none after the pad was cleared", () => {
	const s = new Session();
	s.begin(1, 1); s.end();
	s.request("");
	s.begin(40, 40); s.end();
	const n = (s.request(""), s.sequence);
	assert.strictEqual(s.current(n - 1), false);
	assert.strictEqual(s.current(n), true);
	s.clear();
	assert.strictEqual(s.current(n), false);
	same(s.strokes, []);
});

test("undo takes back the last stroke", () => {
	const s = new Session();
	s.begin(1, 1); s.end();
	s.begin(9, 9); s.end();
	assert.strictEqual(s.undo(), 1);
	same(s.strokes, [[1, 1]]);
	assert.strictEqual(s.undo(), 0);
	assert.strictEqual(s.undo(), 0);
});

test("long drawings are thinned to fit an old engine's address, ends kept", () => {
	const stroke = [];
	for (let i = 0; i < 600; i++) stroke.push(i % 236, (i * 7) % 236);
	const text = strokeText([stroke, [3, 4]], 1800);
	assert.ok(text.length <= 1800, "length " + text.length);
	const back = JSON.parse(text);
	same(back[0].slice(0, 2), [0, 0]);
	same(back[0].slice(-2), stroke.slice(-2));
	same(back[1], [3, 4]);
	// A short drawing is sent as it is.
	assert.strictEqual(strokeText([[1, 2, 3, 4]], 1800), "[[1,2,3,4]]");
});

let failed = 0;
for (const [name, body] of tests) {
	try {
		body();
		console.log("ok: " + name);
	} catch (e) {
		failed++;
		console.log("FAILED: " + name + "\n" + e.stack);
	}
}
process.exit(failed ? 1 : 0);
