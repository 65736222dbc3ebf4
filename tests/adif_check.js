'use strict';
// An independent reading of our .adi files: the tcadif package parses each file given and
// validates every field it knows. On top of its errors (thrown), this reports as warnings what it
// would pass over silently: bytes outside printable ASCII, a field it does not know (it drops
// those), and anything but blanks between fields (where a wrong length leaves its tail). Lengths
// count bytes, so the file is read one byte to a character.
// Exit 0 with one line per QSO on stdout ("FIELD=value" pairs, tab-separated) when every file is
// clean; exit 1 with "error:" and "warning:" lines on stderr otherwise.
const fs = require('fs');
const { ADIF, Field, defs } = require('tcadif');

const known = new Set(
    [...Object.values(defs.header), ...Object.values(defs.qso)].map((Def) => new Def().fieldName));
let problems = 0;
const report = (kind, file, text) => {
  problems += 1;
  console.error(`${kind}: ${file}: ${text}`);
};

for (const file of process.argv.slice(2)) {
  const text = fs.readFileSync(file, 'latin1');
  const odd = text.search(/[^\x20-\x7E\r\n]/);
  if (odd >= 0) report('warning', file, `byte 0x${text.charCodeAt(odd).toString(16)} at ${odd}`);

  let rest = text;
  let first = true;
  let records = 0;
  for (let field = Field.parse(rest); field !== null; field = Field.parse(rest)) {
    const consumed = field.bytesConsumed;
    const dataLength = field.dataLength ?? 0;
    const tagStart = rest.slice(0, consumed - dataLength).lastIndexOf('<');
    const between = rest.slice(0, tagStart);
    if (!first && between.trim() !== '') report('warning', file, `stray text "${between}"`);
    if (field.fieldName === 'EOR') records += 1;
    else if (field.fieldName !== 'EOH' && !known.has(field.fieldName)) {
      report('warning', file, `unknown field ${field.fieldName}`);
    }
    first = false;
    rest = rest.slice(consumed);
  }
  if (rest.trim() !== '') report('warning', file, `stray text at the end "${rest}"`);

  let adif;
  try {
    adif = ADIF.parse(text).toObject();
  } catch (e) {
    report('error', file, `${e.message} ${JSON.stringify(e)}`);
    continue;
  }
  if (adif.header === null) report('error', file, 'no header');
  if (adif.qsos.length !== records) {
    report('error', file, `${records} records, ${adif.qsos.length} read`);
  }
  for (const qso of adif.qsos) {
    console.log(Object.entries(qso).map(([k, v]) => `${k}=${v}`).join('\t'));
  }
}
process.exit(problems === 0 ? 0 : 1);
