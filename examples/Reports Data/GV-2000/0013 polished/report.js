// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 13,
  reportType: "RT_POLISH",
  dateTime: "2025-04-24 16:01:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "0.81 ct"],
    ["Measurements", "7.00 × 7.04 × 4.34 mm"],
    ["Colour grade", "G"],
    ["Clarity grade", "VVS1"],
    ["Cut grade", "Very Good"],
    ["Fluorescence", "Faint"]
  ]
};
